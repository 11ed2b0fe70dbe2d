#pragma once

#include "analysis/DualScaling.h"
#include "analysis/Interpretation.h"
#include "analysis/LargeTable.h"
#include "analysis/ResultStore.h"

// The run and its statistics for a table held only as its nonzero counts (a
// word table of millions of cells): every sum over the cells is taken over
// the nonzero ones, the zeros' share coming from the totals, so that time and
// memory follow the nonzero counts, never NRow x NCol.

// The row and column totals and N of `counts`, as ComputeTotals gives them
// for the dense table (TableLimitError past MaxGrandTotal).
Totals SparseTotals(const SparseCounts &counts);

// sum_ij |n_ij - R_i C_j / N| over every cell, zeros included: each zero
// cell adds R_i C_j / N, and those of all cells add up to N. FloatError for
// N = 0.
long double SparseAssociationSum(const SparseCounts &counts, const Totals &totals);

// Interpret (Interpretation.h) for the table of `counts`, the same values up
// to rounding: chi2 = N (sum n_ij^2 / (R_i C_j) - 1) and
// d_i^2 = N sum_j n_ij^2 / (R_i^2 C_j) - 1 over the nonzero cells.
Interpretation InterpretSparse(
    const SparseCounts &counts, const ResultStore &store, bool associated);
