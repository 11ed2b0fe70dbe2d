#pragma once

#include "analysis/ResultStore.h"
#include "analysis/Types.h"

#include <cstdint>

// Dual scaling (correspondence analysis) of an NRow x NCol table of counts
// n_ij, split into the stages a run performs in turn, so that the report can
// be written between them. With r_i the row totals, c_j the column totals
// and N their sum:
//
//   association        a_ij = n_ij - r_i c_j / N
//   standardised res.  s_ij = a_ij / sqrt(r_i c_j)
//   decomposition      S = sum_d Eta(d) u_d v_d^T   (the SVD of S; u_d, v_d unit)
//   scale values       x_id = sqrt(N) u_id / sqrt(r_i),  y_jd = sqrt(N) v_jd / sqrt(c_j)
//   weighted values    Eta(d) x_id,  Eta(d) y_jd
//
// Subtracting the expected counts removes the trivial solution (every
// category scored alike, Eta = 1) before the decomposition, so each solution
// found is a real one and NSol <= min(NRow, NCol) - 1. The scale values of a
// dimension have weighted mean 0 and weighted sum of squares N:
// sum_i r_i x_id = 0 and sum_i r_i x_id^2 = N (columns alike). The sign of a
// dimension is the one the SVD leaves: fixed on the row side when
// NRow <= NCol and on the column side otherwise (see SVD.h).
//
// Preconditions: NRow and NCol are at least 1 and the table holds at least
// NRow x NCol counts; counts are 32-bit integers. Totals are summed exactly in
// 64 bits and |N| may reach 2^53 (checked: a TableLimitError beyond); a
// product r_i c_j is formed in extended precision, exact whenever it fits in
// 64 bits, which covers every product of totals that fit in 32 bits. All
// arithmetic is 80-bit extended, in the order the formulas are written, so
// results are reproducible bit for bit.
// Cost: O(NRow NCol) for every stage but the decomposition, which is
// O(n^3 (1 + NDim)) in n = min(NRow, NCol): the eigenvalues, then one
// elimination per eigenvector of the dimensions shown (SVD.h).

// A table shows association when the sum of the absolute association values
// reaches this (the nearest extended value to 1e-5); below it the run stops
// without decomposing.
inline constexpr long double IndependenceLimit = 1e-5L;

// The largest |N| (and so |total|) taken: 2^53, where every total is still an
// exact double, as the engine for big tables needs.
inline constexpr std::int64_t MaxGrandTotal = std::int64_t{ 1 } << 53;

using TTotalVector = OneBasedVector<std::int64_t>;

struct Totals {
    TTotalVector RowTotal;
    TTotalVector ColTotal;
    std::int64_t GrandTotal = 0;
};

// The row totals (sized NRow) and N, row by row, then the column totals
// (sized NCol). Throws TableLimitError for a size below 1 or beyond the
// counts held, or when |N| or a total passes MaxGrandTotal.
Totals ComputeTotals(const TIntMatrix &DataTable, int NRow, int NCol);

// RowTotal(i) * ColTotal(j) in extended precision: exact up to 2^64.
long double TotalProduct(const Totals &totals, int i, int j);

// a_ij = DataTable(i, j) - (RowTotal(i) * ColTotal(j)) / N. Throws FloatError
// for N = 0.
long double Association(const TIntMatrix &DataTable, const Totals &totals, int i, int j);

// StdResidual, its copy SVDInput (both NRow x NCol), and the SVD of it into
// the store: NSol and every Eta (sized min(NRow, NCol)), but the singular
// vectors RowSingVec and ColSingVec only for the dimensions the run shows,
// 1..min(store.NDim, NSol) with store.NDim as entered (NRow and NCol x that
// many). Those vectors have the same bits as when all are computed. The
// dimensions whose singular values lie close together are then checked, and
// mended where they are wrong, in higher precision (CloseDimensions.h). Throws
// FloatError for an empty row or column (0 / sqrt(0)).
void Decompose(
    const TIntMatrix &DataTable, const Totals &totals, int NRow, int NCol, ResultStore &store);

// For d = 1..NSol: EtaSq = Eta(d)^2, its share of the sum of all EtaSq and the
// cumulative share, in per cent. Every solution takes part, whatever NDim is.
// A store of the big-table method shares them out of store.TotalInertia.
struct EtaShares {
    TExtVector EtaSq;
    TExtVector Share; // per cent of the total of all EtaSq
    TExtVector CumShare; // per cent, cumulative
};
EtaShares SquaredCorrelationRatios(const ResultStore &store);

// Lowers store.NDim to store.NSol when larger (never raises it); true when it
// did.
bool LimitDimensions(ResultStore &store);

// Dimensions 1..NDim (NDim already lowered to NSol): first RowScale and
// ColScale (rows outer, dimensions inner), then the weighted scale values,
// dimension by dimension; each matrix is sized NRow or NCol x NDim.
void ComputeScaleValues(const Totals &totals, ResultStore &store);
void ComputeWeightedScaleValues(ResultStore &store);
