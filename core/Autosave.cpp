#include "core/Autosave.h"

#include "core/CellBlock.h"
#include "core/SupplementaryMark.h"
#include "core/TableSize.h"

namespace {
constexpr std::string_view FirstLine = "Quarnet autosave 1\r\n";
constexpr std::string_view LineEnd = "\r\n";
}

std::string AutosaveText(const InputTable &table)
{
    std::string text
        = std::string(FirstLine) + SupplementaryMarkText(table.marks()) + std::string(LineEnd);
    // Row by row, so that a large table is not copied whole on the way.
    for (int i = 0; i <= table.rows(); ++i)
        text += CellBlockText(TableBlock(table, i, 0, 1, table.cols() + 1));
    return text;
}

std::optional<InputTable> ReadAutosaveText(std::string_view text)
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
    if (!IsTableSize(rows, cols))
        return std::nullopt;
    for (const auto &row : block)
        if (static_cast<int>(row.size()) != cols + 1)
            return std::nullopt;
    InputTable table(rows, cols);
    for (int i = 0; i <= rows; ++i)
        for (int j = 0; j <= cols; ++j)
            table.setText(i, j, block[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]);
    if (!markLine.empty()) {
        const CornerMark mark = ReadSupplementaryMark(markLine, rows, cols);
        if (!mark.isMark || !mark.marks)
            return std::nullopt;
        table.setMarks(*mark.marks);
    }
    return table;
}
