#pragma once

#include "analysis/DualScaling.h"
#include "analysis/ResultStore.h"
#include "analysis/SupplementaryStore.h"
#include "analysis/Types.h"

#include <cstdint>
#include <set>
#include <vector>

// Supplementary categories: the table is split into the active table, which
// alone is analysed, and the supplementary rows and columns, which are then
// placed on the active solution by the transition formula.
//
// For a supplementary row s with counts n_sj over the active columns j,
// total n_s = sum_j n_sj and profile a_sj = n_sj / n_s:
//   weightedScale(d) = sum_j a_sj ColScale(j, d)        (principal coordinate)
//   scale(d)         = weightedScale(d) / Eta(d)        (standard coordinate)
//   distanceSq       = sum_j (a_sj - c_j)^2 / c_j,  c_j = ColTotal(j) / N (active)
//   cos2(d)          = weightedScale(d)^2 / distanceSq  (0 at the centroid)
//   quality          = sum_{d <= NDim} cos2(d)
// and a supplementary column likewise with RowScale over the active rows. A
// cell where a supplementary row meets a supplementary column is used by
// neither. The active results are those of the table with the supplementary
// categories removed, bit for bit, since that table is what is analysed.
// All arithmetic in 80-bit extended; cost O((S_r NCol + S_c NRow) NDim).

// The active table: its counts in table order, and the table position of
// each of its rows and columns (active row k is table row rowPosition[k - 1]).
struct ActiveTable {
    TIntMatrix counts;
    int NRow = 0;
    int NCol = 0;
    std::vector<int> rowPosition;
    std::vector<int> colPosition;
};

// Without marks the active table is the whole table. With marks, throws
// SupplementaryError for a position outside 1..tableRows (1..tableCols) and
// unless one active row and two active columns, or the reverse, remain.
ActiveTable SplitTable(
    const TIntMatrix &table, int tableRows, int tableCols, const SupplementaryMarks &marks);

// The principal coordinates of a profile (shares over the active categories
// of the other side, summing to 1) on dimensions 1..dims by the transition
// formula above: sum_l profile_l otherScale(l, d). The same arithmetic places
// the supplementary categories and the resampled profiles of the confidence
// ellipses. Throws FloatError on overflow.
std::vector<long double> ProjectProfile(
    const std::vector<long double> &profile, const TExtMatrix &otherScale, int dims);

// Places the marked categories on the solution in `store` (the completed,
// associated run of `active`), for d = 1..store.NDim. Labels stay empty.
// A category whose active counts total 0 is returned unplaced. Throws
// FloatError for any other 0/0, x/0 or overflow.
SupplementaryStore PlaceSupplementary(const TIntMatrix &table, const ActiveTable &active,
    const SupplementaryMarks &marks, const ResultStore &store);

// The steps of the two above, for a table held otherwise (SparseSupplementary.h).
// The positions 1..count not marked, in order; SupplementaryError for a mark
// outside them (`side` is "行" or "列").
std::vector<int> ActivePositions(const std::set<int> &marked, int count, const char *side);
// SupplementaryError unless one active row and two active columns, or the
// reverse, remain.
void CheckEnoughActive(int NRow, int NCol);
// One category of either side: `counts` over the active categories of the
// other side, whose totals and scale values are `otherTotal` and `otherScale`.
SupplementaryPoint PlaceCategory(int position, const std::vector<std::int32_t> &counts,
    const TTotalVector &otherTotal, std::int64_t N, const TExtMatrix &otherScale,
    const ResultStore &store);
