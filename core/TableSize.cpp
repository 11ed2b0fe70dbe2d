#include "core/TableSize.h"

#include "analysis/CategoryCount.h"
#include "core/CoreErrors.h"
#include "core/IntConversion.h"

std::string TableSizeMessage()
{
    return "行数と列数は " + CategoryCountRange() + "の整数で指定して下さい";
}

TableSize ReadTableSize(const std::string &rowsText, const std::string &colsText)
{
    const TableSize size{ StrToInt32Typed(rowsText), StrToInt32Typed(colsText) };
    if (!IsCategoryCount(size.rows) || !IsCategoryCount(size.cols))
        throw InputError(TableSizeMessage());
    return size;
}

std::string TooManyCategoriesMessage(const char *what, int count)
{
    return std::string(what) + "の数が " + std::to_string(count) + " で、上限の "
        + std::to_string(MaxCat) + " を超えています";
}

void RefuseOversizedTable(int rows, int cols)
{
    if (cols > MaxCat)
        throw InputError(TooManyCategoriesMessage("列", cols));
    if (rows > MaxCat)
        throw InputError(TooManyCategoriesMessage("行", rows));
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
