#pragma once

#include "analysis/LargeTable.h"
#include "analysis/ResultStore.h"
#include "analysis/SupplementaryStore.h"

#include <vector>

// Supplementary categories (Supplementary.h) of a table held only as its
// nonzero counts: the same split, the same transition formula and the same
// values, with memory in proportion to the nonzero counts and one
// supplementary category's profile at a time.

// The active table, renumbered 1..NRow, 1..NCol, and the table position of
// each active row and column (active row k is table row rowPosition[k - 1]).
struct SparseActive {
    SparseCounts counts;
    std::vector<int> rowPosition;
    std::vector<int> colPosition;
};

// As SplitTable: SupplementaryError for a position outside the table and
// unless one active row and two active columns, or the reverse, remain.
SparseActive SplitSparse(const SparseCounts &table, const SupplementaryMarks &marks);

// As PlaceSupplementary, for the completed, associated run of `active` in
// `store`. Labels stay empty; a category whose active counts total 0 is
// returned unplaced.
SupplementaryStore PlaceSparseSupplementary(const SparseCounts &table, const SparseActive &active,
    const SupplementaryMarks &marks, const ResultStore &store);
