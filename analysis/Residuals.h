#pragma once

#include "analysis/Types.h"

#include <vector>

// Which cells make the association: per cell of the counts n_ij, with
// N the grand total, r_i and c_j the row and column masses and
// e_ij = N r_i c_j the count expected under independence,
//   standardized = (n - e) / sqrt(e)
//   adjusted     = (n - e) / sqrt(e (1 - r_i)(1 - c_j))   (about N(0, 1) under
//                                                         independence)
//   chiShare     = ((n - e)^2 / e) / chi2,  summing to 1 over the table.
// A cell whose denominator is zero has n = e (an empty row or column, or a
// row or column that holds every count) and gets 0; so does every share of
// a table with chi2 = 0. N = 0 throws FloatError.
// Matrices are row-major, row i at [(i - 1) * cols + (j - 1)].
// Cost O(rows cols), in 80-bit extended precision.
struct CellResiduals {
    int rows = 0;
    int cols = 0;
    std::vector<long double> standardized;
    std::vector<long double> adjusted;
    std::vector<long double> chiShare;

    long double at(const std::vector<long double> &matrix, int i, int j) const
    {
        return matrix[static_cast<std::size_t>((i - 1) * cols + (j - 1))];
    }
};

CellResiduals ComputeResiduals(const TIntMatrix &counts);
