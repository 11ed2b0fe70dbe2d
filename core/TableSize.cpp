#include "core/TableSize.h"

#include "analysis/CategoryCount.h"
#include "core/CoreErrors.h"
#include "core/IntConversion.h"

TableSize ReadTableSize(const std::string &rowsText, const std::string &colsText)
{
    const TableSize size{ StrToInt32Typed(rowsText), StrToInt32Typed(colsText) };
    if (!IsCategoryCount(size.rows) || !IsCategoryCount(size.cols))
        throw InputError(TableSizeMessage);
    return size;
}

std::string TooManyCategoriesMessage(const char *what, int count)
{
    return std::string(what) + "の数が " + std::to_string(count) + " で、上限の "
        + std::to_string(MaxCat) + " を超えています";
}

void WriteHeaderCells(Grid &grid)
{
    for (int c = 2; c < grid.colCount(); ++c)
        grid.setCell(c, 0, "列-" + std::to_string(c - 1));
    for (int r = 2; r < grid.rowCount(); ++r)
        grid.setCell(0, r, "行-" + std::to_string(r - 1));
}

Grid NewDataGrid(const TableSize &size)
{
    Grid grid(size.cols + 2, size.rows + 2);
    WriteHeaderCells(grid);
    return grid;
}

TableSize TableSizeOf(const Grid &grid)
{
    return { grid.rowCount() - 2, grid.colCount() - 2 };
}
