#include "core/TableSize.h"

#include "core/CoreErrors.h"
#include "core/IntConversion.h"

std::string TableSizeMessage()
{
    return "行数と列数は 1 から " + std::to_string(MaxTableSide) + " までの整数で指定して下さい";
}

std::string TooManyCellsMessage(std::int64_t rows, std::int64_t cols)
{
    return "表の大きさが " + std::to_string(rows) + " 行 × " + std::to_string(cols)
        + " 列で、欄の数 " + std::to_string(rows * cols) + " が上限の "
        + std::to_string(MaxTableCells) + " を超えています";
}

TableSize ReadTableSize(const std::string &rowsText, const std::string &colsText)
{
    const TableSize size{ StrToInt32Typed(rowsText), StrToInt32Typed(colsText) };
    const auto isSide = [](std::int32_t n) { return n >= 1 && n <= MaxTableSide; };
    if (!isSide(size.rows) || !isSide(size.cols))
        throw InputError(TableSizeMessage());
    if (!IsTableSize(size.rows, size.cols))
        throw InputError(TooManyCellsMessage(size.rows, size.cols));
    return size;
}

std::string TooManyCategoriesMessage(const char *what, std::int64_t count)
{
    return std::string(what) + "の数が " + std::to_string(count) + " で、上限の "
        + std::to_string(MaxTableSide) + " を超えています";
}

void RefuseOversizedTable(std::int64_t rows, std::int64_t cols)
{
    if (cols > MaxTableSide)
        throw InputError(TooManyCategoriesMessage("列", cols));
    if (rows > MaxTableSide)
        throw InputError(TooManyCategoriesMessage("行", rows));
    if (rows * cols > MaxTableCells)
        throw InputError(TooManyCellsMessage(rows, cols));
}

std::string RowHeaderText(int i)
{
    return "行-" + std::to_string(i);
}

std::string ColHeaderText(int j)
{
    return "列-" + std::to_string(j);
}

InputTable NewInputTable(const TableSize &size)
{
    return InputTable(size.rows, size.cols);
}
