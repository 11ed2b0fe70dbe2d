#include "core/TableSize.h"

#include "core/CoreErrors.h"
#include "core/IntConversion.h"
#include "analysis/Types.h"

TableSize ReadTableSize(const std::string &rowsText, const std::string &colsText)
{
    const TableSize size{ StrToInt32(rowsText), StrToInt32(colsText) };
    const auto holds = [](std::int32_t n) { return n >= 1 && n <= MaxCat; };
    if (!holds(size.rows) || !holds(size.cols))
        throw InputError(TableSizeMessage);
    return size;
}

Grid NewDataGrid(const TableSize &size)
{
    Grid grid(size.cols + 2, size.rows + 2);
    for (int j = 1; j <= size.cols; ++j)
        grid.setCell(j + 1, 0, "列-" + std::to_string(j));
    for (int i = 1; i <= size.rows; ++i)
        grid.setCell(0, i + 1, "行-" + std::to_string(i));
    return grid;
}
