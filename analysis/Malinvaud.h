#pragma once

#include "analysis/Interpretation.h"

#include <vector>

// Malinvaud's test of how many dimensions a table needs: for k dimensions
// kept, the inertia left over is tested as a chi-square,
//   chiSquare_k = N sum_{s > k} etaSq_s,   df_k = (I - k - 1)(J - k - 1),
//   p_k = P(X >= chiSquare_k) for X ~ chi-square(df_k),
// for k = 0 .. NSol - 1, with I and J the active rows and columns (the
// supplementary ones take no part). k = 0 is the test of independence on
// the solutions' inertia. The first k whose p is large is the number of
// dimensions worth keeping. The tail sums run from the smallest etaSq up, so
// that a small remainder is not lost beside the large ones.
// Empty without solutions, and for a table of decimal values
// (Interpretation::decimalPlaces), which has no counts to test. Cost O(NSol) plus the distribution.
struct MalinvaudStep {
    int dims = 0; // k
    long double chiSquare = 0.0L;
    int df = 0;
    long double pValue = 1.0L;
};

std::vector<MalinvaudStep> MalinvaudTest(const Interpretation &interpretation);

// The rows and the columns of the analysed table: those not supplementary.
int ActiveCount(const std::vector<CategoryStats> &categories);
