#include "core/GridPaste.h"

#include "core/CoreErrors.h"
#include "core/TableSize.h"

#include "analysis/CategoryCount.h"

#include <algorithm>

std::string PasteTooLargeMessage(int rows, int cols)
{
    return "貼り付けると表が " + std::to_string(rows) + " 行 × " + std::to_string(cols)
        + " 列になり、上限の " + std::to_string(MaxCat) + " 行 × " + std::to_string(MaxCat)
        + " 列を超えるため、貼り付けませんでした";
}

Grid PasteIntoGrid(const Grid &grid, int col, int row, const CellBlock &block)
{
    std::size_t width = 0;
    for (const auto &cells : block)
        width = std::max(width, cells.size());
    const int cols = std::max(grid.colCount(), col + static_cast<int>(width));
    const int rows = std::max(grid.rowCount(), row + static_cast<int>(block.size()));
    if (!IsCategoryCount(rows - 2) || !IsCategoryCount(cols - 2))
        throw InputError(PasteTooLargeMessage(rows - 2, cols - 2));

    Grid pasted = grid;
    if (cols != grid.colCount() || rows != grid.rowCount()) {
        pasted.resize(cols, rows);
        WriteHeaderCells(pasted);
    }
    for (std::size_t r = 0; r < block.size(); ++r)
        for (std::size_t c = 0; c < block[r].size(); ++c)
            pasted.setCell(col + static_cast<int>(c), row + static_cast<int>(r), block[r][c]);
    return pasted;
}
