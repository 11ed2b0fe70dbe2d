#include "analysis/Supplementary.h"

#include "analysis/DualScaling.h"
#include "analysis/Errors.h"
#include "analysis/ExtMath.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

[[noreturn]] void RaiseSupplementaryError(const std::string &message)
{
    throw SupplementaryError(message);
}

} // namespace

std::vector<int> ActivePositions(const std::set<int> &marked, int count, const char *side)
{
    for (const int position : marked)
        if (position < 1 || position > count)
            RaiseSupplementaryError(std::string("補助カテゴリーに指定した") + side + " "
                + std::to_string(position) + " は表にありません (" + side + "は 1 から "
                + std::to_string(count) + " まで)");
    std::vector<int> active;
    for (int position = 1; position <= count; ++position)
        if (!marked.contains(position))
            active.push_back(position);
    return active;
}

void CheckEnoughActive(int NRow, int NCol)
{
    if (NRow >= 1 && NCol >= 1 && NRow + NCol >= 3)
        return;
    RaiseSupplementaryError("補助カテゴリーを除くと、分析する表が " + std::to_string(NRow)
        + " 行 × " + std::to_string(NCol)
        + " 列しか残りません (1 行と 2 列、または 2 行と 1 列以上が必要です)");
}

SupplementaryPoint PlaceCategory(int position, const std::vector<std::int32_t> &counts,
    const TTotalVector &otherTotal, std::int64_t N, const TExtMatrix &otherScale,
    const ResultStore &store)
{
    SupplementaryPoint point;
    point.position = position;
    std::int64_t total = 0;
    for (const std::int32_t n : counts)
        total += n;
    if (total == 0)
        return point;
    point.placed = true;
    point.total = static_cast<long double>(total);
    const auto size = static_cast<int>(counts.size());
    std::vector<long double> profile;
    for (int l = 1; l <= size; ++l) {
        profile.push_back(Div(counts[static_cast<std::size_t>(l) - 1], total));
        const long double c = Div(otherTotal(l), N);
        const long double diff = profile.back() - c;
        point.distanceSq = point.distanceSq + Div(diff * diff, c);
    }
    point.distanceSq = CheckFinite(point.distanceSq);
    point.counts = counts;
    point.weightedScale = ProjectProfile(profile, otherScale, store.NDim);
    for (int d = 1; d <= store.NDim; ++d) {
        const long double f = point.weightedScale[static_cast<std::size_t>(d) - 1];
        point.scale.push_back(Div(f, store.Eta(d)));
        const long double cos2 = point.distanceSq == 0.0L ? 0.0L : Div(f * f, point.distanceSq);
        point.cos2.push_back(cos2);
        point.quality = point.quality + cos2;
    }
    return point;
}

std::vector<long double> ProjectProfile(
    const std::vector<long double> &profile, const TExtMatrix &otherScale, int dims)
{
    std::vector<long double> coordinates;
    coordinates.reserve(static_cast<std::size_t>(std::max(dims, 0)));
    const auto size = static_cast<int>(profile.size());
    for (int d = 1; d <= dims; ++d) {
        long double f = 0.0L;
        for (int l = 1; l <= size; ++l)
            f = f + profile[static_cast<std::size_t>(l) - 1] * otherScale(l, d);
        coordinates.push_back(CheckFinite(f));
    }
    return coordinates;
}

ActiveTable SplitTable(
    const TIntMatrix &table, int tableRows, int tableCols, const SupplementaryMarks &marks)
{
    ActiveTable active;
    active.rowPosition = ActivePositions(marks.rows, tableRows, "行");
    active.colPosition = ActivePositions(marks.cols, tableCols, "列");
    active.NRow = static_cast<int>(active.rowPosition.size());
    active.NCol = static_cast<int>(active.colPosition.size());
    if (!marks.empty())
        CheckEnoughActive(active.NRow, active.NCol);
    active.counts.resize(active.NRow, active.NCol);
    for (int i = 1; i <= active.NRow; ++i)
        for (int j = 1; j <= active.NCol; ++j)
            active.counts(i, j) = table(active.rowPosition[static_cast<std::size_t>(i) - 1],
                active.colPosition[static_cast<std::size_t>(j) - 1]);
    return active;
}

SupplementaryStore PlaceSupplementary(const TIntMatrix &table, const ActiveTable &active,
    const SupplementaryMarks &marks, const ResultStore &store)
{
    const Totals totals = ComputeTotals(active.counts, active.NRow, active.NCol);
    SupplementaryStore placed;
    placed.tableRows = active.NRow + static_cast<int>(marks.rows.size());
    placed.tableCols = active.NCol + static_cast<int>(marks.cols.size());
    for (const int s : marks.rows) {
        std::vector<std::int32_t> counts;
        for (const int j : active.colPosition)
            counts.push_back(table(s, j));
        placed.rows.push_back(
            PlaceCategory(s, counts, totals.ColTotal, totals.GrandTotal, store.ColScale, store));
    }
    for (const int s : marks.cols) {
        std::vector<std::int32_t> counts;
        for (const int i : active.rowPosition)
            counts.push_back(table(i, s));
        placed.cols.push_back(
            PlaceCategory(s, counts, totals.RowTotal, totals.GrandTotal, store.RowScale, store));
    }
    return placed;
}
