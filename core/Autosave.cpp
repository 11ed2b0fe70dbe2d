#include "core/Autosave.h"

#include "core/CellBlock.h"
#include "core/GridPaste.h"
#include "core/TableSize.h"

#include "analysis/Types.h"

namespace {
constexpr std::string_view FirstLine = "Quarnet autosave 1\r\n";
}

std::string AutosaveText(const Grid &grid)
{
    return std::string(FirstLine)
        + CellBlockText(GridBlock(grid, 1, 1, grid.colCount() - 1, grid.rowCount() - 1));
}

std::optional<Grid> ReadAutosaveText(std::string_view text)
{
    if (!text.starts_with(FirstLine))
        return std::nullopt;
    const CellBlock block = SplitCellBlock(text.substr(FirstLine.size()));
    const auto rows = static_cast<int>(block.size()) - 1;
    const auto cols = block.empty() ? 0 : static_cast<int>(block.front().size()) - 1;
    if (!IsCategoryCount(rows) || !IsCategoryCount(cols))
        return std::nullopt;
    for (const auto &row : block)
        if (static_cast<int>(row.size()) != cols + 1)
            return std::nullopt;
    return PasteIntoGrid(NewDataGrid({ rows, cols }), 1, 1, block);
}
