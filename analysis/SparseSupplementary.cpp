#include "analysis/SparseSupplementary.h"

#include "analysis/SparseInterpretation.h"
#include "analysis/Supplementary.h"

#include <cstdint>
#include <utility>

namespace {

// The active index of each table position (entry 0 unused), 0 when marked.
std::vector<int> ActiveIndex(const std::vector<int> &positions, int count)
{
    std::vector<int> index(static_cast<std::size_t>(count) + 1, 0);
    for (std::size_t k = 0; k < positions.size(); ++k)
        index[static_cast<std::size_t>(positions[k])] = static_cast<int>(k) + 1;
    return index;
}

// The index of each marked position among the marks (entry 0 unused), -1
// when not marked.
std::vector<int> MarkIndex(const std::set<int> &marked, int count)
{
    std::vector<int> index(static_cast<std::size_t>(count) + 1, -1);
    int k = 0;
    for (const int position : marked)
        index[static_cast<std::size_t>(position)] = k++;
    return index;
}

using Entries = std::vector<std::pair<int, std::int32_t>>; // active index, count

// Each marked category's counts over the active categories of the other side,
// dense for one category at a time, placed by the transition formula.
std::vector<SupplementaryPoint> PlaceSide(const std::set<int> &marked,
    const std::vector<Entries> &entries, int otherCount, const TTotalVector &otherTotal,
    std::int64_t N, const TExtMatrix &otherScale, const ResultStore &store)
{
    std::vector<SupplementaryPoint> points;
    std::size_t k = 0;
    for (const int position : marked) {
        std::vector<std::int32_t> counts(static_cast<std::size_t>(otherCount), 0);
        for (const auto &[index, count] : entries[k++])
            counts[static_cast<std::size_t>(index) - 1] += count;
        points.push_back(PlaceCategory(position, counts, otherTotal, N, otherScale, store));
    }
    return points;
}

} // namespace

SparseActive SplitSparse(const SparseCounts &table, const SupplementaryMarks &marks)
{
    SparseActive active;
    active.rowPosition = ActivePositions(marks.rows, table.NRow, "行");
    active.colPosition = ActivePositions(marks.cols, table.NCol, "列");
    active.counts.NRow = static_cast<int>(active.rowPosition.size());
    active.counts.NCol = static_cast<int>(active.colPosition.size());
    if (!marks.empty())
        CheckEnoughActive(active.counts.NRow, active.counts.NCol);
    const std::vector<int> rowIndex = ActiveIndex(active.rowPosition, table.NRow);
    const std::vector<int> colIndex = ActiveIndex(active.colPosition, table.NCol);
    active.counts.cells.reserve(table.cells.size());
    for (const CountCell &cell : table.cells) {
        const int i = rowIndex[static_cast<std::size_t>(cell.row)];
        const int j = colIndex[static_cast<std::size_t>(cell.col)];
        if (i != 0 && j != 0)
            active.counts.cells.push_back({ i, j, cell.count });
    }
    return active;
}

SupplementaryStore PlaceSparseSupplementary(const SparseCounts &table, const SparseActive &active,
    const SupplementaryMarks &marks, const ResultStore &store)
{
    const Totals totals = SparseTotals(active.counts);
    const std::vector<int> rowIndex = ActiveIndex(active.rowPosition, table.NRow);
    const std::vector<int> colIndex = ActiveIndex(active.colPosition, table.NCol);
    const std::vector<int> rowMark = MarkIndex(marks.rows, table.NRow);
    const std::vector<int> colMark = MarkIndex(marks.cols, table.NCol);
    std::vector<Entries> rowEntries(marks.rows.size()), colEntries(marks.cols.size());
    for (const CountCell &cell : table.cells) {
        const int i = rowIndex[static_cast<std::size_t>(cell.row)];
        const int j = colIndex[static_cast<std::size_t>(cell.col)];
        // A cell of a supplementary row and a supplementary column is used by neither.
        if (i == 0 && j != 0)
            rowEntries[static_cast<std::size_t>(rowMark[static_cast<std::size_t>(cell.row)])]
                .emplace_back(j, cell.count);
        if (j == 0 && i != 0)
            colEntries[static_cast<std::size_t>(colMark[static_cast<std::size_t>(cell.col)])]
                .emplace_back(i, cell.count);
    }
    SupplementaryStore placed;
    placed.tableRows = table.NRow;
    placed.tableCols = table.NCol;
    placed.rows = PlaceSide(marks.rows, rowEntries, active.counts.NCol, totals.ColTotal,
        totals.GrandTotal, store.ColScale, store);
    placed.cols = PlaceSide(marks.cols, colEntries, active.counts.NRow, totals.RowTotal,
        totals.GrandTotal, store.RowScale, store);
    return placed;
}
