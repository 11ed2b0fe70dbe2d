#include "core/Autosave.h"

#include "core/CellBlock.h"
#include "core/GridPaste.h"
#include "core/SupplementaryMark.h"
#include "core/TableSize.h"

#include "analysis/CategoryCount.h"

namespace {
constexpr std::string_view FirstLine = "Quarnet autosave 1\r\n";
constexpr std::string_view LineEnd = "\r\n";
}

std::string AutosaveText(const Grid &grid, const SupplementaryMarks &marks)
{
    return std::string(FirstLine) + SupplementaryMarkText(marks) + std::string(LineEnd)
        + CellBlockText(GridBlock(grid, 1, 1, grid.colCount() - 1, grid.rowCount() - 1));
}

std::optional<AutosavedTable> ReadAutosaveText(std::string_view text)
{
    if (!text.starts_with(FirstLine))
        return std::nullopt;
    text.remove_prefix(FirstLine.size());
    const std::size_t markEnd = text.find(LineEnd);
    if (markEnd == std::string_view::npos)
        return std::nullopt;
    const std::string_view markLine = text.substr(0, markEnd);
    const CellBlock block = SplitCellBlock(text.substr(markEnd + LineEnd.size()));
    const auto rows = static_cast<int>(block.size()) - 1;
    const auto cols = block.empty() ? 0 : static_cast<int>(block.front().size()) - 1;
    if (!IsCategoryCount(rows) || !IsCategoryCount(cols))
        return std::nullopt;
    for (const auto &row : block)
        if (static_cast<int>(row.size()) != cols + 1)
            return std::nullopt;
    AutosavedTable table{ PasteIntoGrid(NewDataGrid({ rows, cols }), 1, 1, block), {} };
    if (!markLine.empty()) {
        const CornerMark mark = ReadSupplementaryMark(markLine, rows, cols);
        if (!mark.isMark || !mark.marks)
            return std::nullopt;
        table.marks = *mark.marks;
    }
    return table;
}
