#pragma once

#include "analysis/Types.h"

#include <cstring>

// Rank decisions of NullVector are relative to the largest absolute entry of
// the matrix (the extended value nearest to 1e-9).
inline constexpr long double NullVectorTolerance = 1e-9L;

// Numerical rank of the square matrix W of order n = W.rows() = W.cols()
// (n >= 1) and a unit vector x (sized n) of its null space, by Gaussian elimination with complete
// pivoting (first largest entry in row-by-row order, rows and columns exchanged), stopped when the
// largest remaining entry is at most 1e-9 times the largest entry of W, then back substitution with
// every free variable set to 1. rank < n: x has norm 1, W x = 0 to that tolerance, and the
// components at the free (never pivoted) columns are positive and equal. rank = n: x = 0. W is not
// changed. Cost O(n^3).
void NullVector(const TExtMatrix &W, TExtVector &x, int &rank);

// Exchanges two extended values, all ten bytes, as plain bytes: no value
// passes through the floating-point unit, so nothing can be altered.
inline void SwapExt(long double &a, long double &b)
{
    unsigned char t[sizeof(long double)];
    std::memcpy(t, &a, sizeof t);
    std::memcpy(&a, &b, sizeof t);
    std::memcpy(&b, t, sizeof t);
}
