#pragma once

#include "analysis/ResultStore.h"
#include "analysis/Types.h"

#include <cstdint>

// The steps of one dual-scaling run, in the order the run performs them, so
// that the report can be written between them. All arithmetic is 80-bit
// extended; counts and totals are 32-bit signed integers.

// A table shows association when the sum of the absolute association values
// reaches this (the nearest extended value to 1e-5).
inline constexpr long double IndependenceLimit = 1e-5L;

struct Totals {
    TIntVector RowTotal;
    TIntVector ColTotal;
    std::int32_t GrandTotal = 0;
};

// Step 1: row totals and N, row by row, then the column totals. Throws
// TableLimitError when a total or N leaves the 32-bit range.
Totals ComputeTotals(const TIntMatrix &DataTable, int NRow, int NCol);

// Step 2: a[i][j] = DataTable[i][j] - (RowTotal[i] * ColTotal[j]) / N, the
// product formed as a 32-bit integer. Throws FloatError for N = 0 and
// TableLimitError when the product leaves the 32-bit range.
long double Association(const TIntMatrix &DataTable, const Totals &totals, int i, int j);

// Steps 4 and 5: StdResidual, SVDInput and the SVD into the store (RowSingVec,
// Eta, NSol, ColSingVec). Throws FloatError for an empty row or column.
void Decompose(const TIntMatrix &DataTable, const Totals &totals, int NRow, int NCol,
               ResultStore &store);

// Step 6, for d = 1..NSol.
struct EtaShares {
    TExtVector EtaSq;
    TExtVector Share;     // per cent of the total of all EtaSq
    TExtVector CumShare;  // per cent, cumulative
};
EtaShares SquaredCorrelationRatios(const ResultStore &store);

// Step 7: lowers store.NDim to store.NSol when larger; true when it did.
bool LimitDimensions(ResultStore &store);

// Step 8, dimensions 1..NDim: first RowScale and ColScale, then the weighted
// scale values.
void ComputeScaleValues(const Totals &totals, ResultStore &store);
void ComputeWeightedScaleValues(ResultStore &store);
