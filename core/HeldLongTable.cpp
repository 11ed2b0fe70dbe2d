#include "core/HeldLongTable.h"

#include "core/LongSparse.h"

#include <utility>

HeldLongTable HoldLongTable(LongTable table, std::int64_t gridMaxCells)
{
    HeldLongTable held;
    const auto rows = static_cast<std::int64_t>(table.rowNames.size());
    const auto cols = static_cast<std::int64_t>(table.colNames.size());
    if (rows * cols <= gridMaxCells) {
        held.loaded = LongTableToGrid(table);
        return held;
    }
    held.loaded.warnings = NoCountWarnings(table);
    held.sparseMarks = LongTableMarks(table, held.loaded.warnings);
    held.sparse = LongTableToSparse(std::move(table));
    return held;
}

std::string SparseTableNote(
    const std::string &fileName, const SparseTable &table, std::int64_t gridMaxCells)
{
    return "「" + fileName + "」の表: " + std::to_string(table.counts.NRow) + " 行 × "
        + std::to_string(table.counts.NCol) + " 列、0 でない度数 "
        + std::to_string(table.counts.cells.size()) + " 個\nセルが " + std::to_string(gridMaxCells)
        + " 個を超える表は表示も編集も保存もしません。OK でこのまま分析します";
}
