#pragma once

#include "analysis/ResultStore.h"
#include "analysis/Types.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The statistics that help read a completed run: the chi-square test of
// independence, and per category its mass, inertia, contributions and the
// quality of its representation in the NDim retained dimensions.
//
// With N the grand total, r_i = RowTotal(i)/N, c_j = ColTotal(j)/N,
// p_ij = n_ij/N, e_ij = RowTotal(i) ColTotal(j)/N and f_id = RowWeightedScale(i, d)
// (the principal coordinate; columns likewise with the roles exchanged):
//   chi2         = sum_ij (n_ij - e_ij)^2 / e_ij,  df = (NRow - 1)(NCol - 1)
//   p            = P(X >= chi2) for X ~ chi-square(df)  (1 when df = 0)
//   totalInertia = chi2 / N  (= sum_d Eta(d)^2 over all solutions)
//   mass         = r_i
//   distanceSq   = d_i^2 = sum_j (p_ij/r_i - c_j)^2 / c_j
//   inertia      = r_i d_i^2                (the rows' inertias sum to totalInertia)
//   contribution = r_i f_id^2 / Eta(d)^2    (sums to 1 over the rows, per dimension)
//   cos2         = f_id^2 / d_i^2           (sums to 1 over all NSol solutions)
//   quality      = sum_{d <= NDim} cos2
// chi2 is the cell-wise sum, not N sum_d Eta(d)^2, because it is defined for a
// table without association too, where the run computes no solutions.
//
// Empty categories: an associated run fails on a zero row or column total
// before any of this is possible. A table without association may have one;
// its profile is undefined, so it is placed at the centroid: mass 0,
// distanceSq 0, inertia 0, and its cells (n = e = 0) add nothing to chi2.
// A category at the centroid (distanceSq 0) has cos2 0 and quality 0.
// Any other 0/0 or x/0 throws FloatError; N = 0 throws FloatError.
//
// Counts are taken as non-negative (the data input refuses others).
// Cost O(NRow NCol (NDim + 1)); all arithmetic in 80-bit extended precision.

struct SolutionStats {
    long double eta = 0.0L;
    long double etaSquared = 0.0L;
    long double share = 0.0L; // per cent of the sum of all eta^2, as in the report
    long double cumulative = 0.0L; // per cent, cumulative
};

// One category. A supplementary category (not part of the analysed table)
// has no mass, inertia or contribution; every category of the table has them.
struct CategoryStats {
    std::string name; // UTF-8, empty when the store holds no names
    bool supplementary = false;
    std::optional<long double> mass;
    std::optional<long double> inertia;
    long double distanceSq = 0.0L;
    long double quality = 0.0L;
    // Index d - 1 for dimension d = 1..dims.
    std::vector<long double> scale; // RowScale / ColScale
    std::vector<long double> weightedScale; // RowWeightedScale / ColWeightedScale
    std::optional<std::vector<long double>> contribution;
    std::vector<long double> cos2;
};

struct Interpretation {
    std::int64_t n = 0; // grand total
    std::string method = ExactMethodName; // the decomposition that ran (ResultStore::Method)
    int dims = 0; // NDim after lowering; 0 without association
    long double chiSquare = 0.0L;
    int df = 0;
    long double pValue = 1.0L;
    // 0 for a table of counts. A table of decimal values (weights,
    // percentages) analysed in units of 10^-decimalPlaces has n in those
    // units and chiSquare in its values; pValue, which needs counts, has no
    // meaning then.
    int decimalPlaces = 0;
    long double totalInertia = 0.0L;
    std::vector<SolutionStats> solutions; // d = 1..NSol, at index d - 1; empty without association
    std::vector<CategoryStats> rows; // table order, row i at index i - 1
    std::vector<CategoryStats> columns;
};

// P(X >= chiSquare) for X ~ chi-square(df), 1 when df = 0; a negative
// chiSquare throws FloatError.
long double ChiSquareUpperTail(long double chiSquare, int df);

// The statistics of the run that left `store` for `DataTable`. `associated`
// is that run's verdict (TableAnalysis::Associated, RunOutcome::associated):
// without association the store's solutions belong to an earlier run and are
// not used. Throws FloatError as described above.
Interpretation Interpret(const TIntMatrix &DataTable, const ResultStore &store, bool associated);

// The interpretation of the active table with the supplementary categories of
// `supplementary` put in at their table positions (supplementary = true, no
// mass, inertia or contribution; an unplaced one has empty vectors and
// quality 0). Without supplementary categories `active` is returned as it is.
Interpretation WithSupplementary(Interpretation active, const SupplementaryStore &supplementary);
