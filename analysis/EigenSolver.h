#pragma once

#include "analysis/Types.h"

#include <cstdint>

// Eigenvalues of a real symmetric matrix of order N = A.rows() = A.cols() in
// 80-bit extended precision, in two stages run one after the other on the same
// scratch matrix: Tridiagonalize, then QLEigen. Neither stage keeps its
// transformations, so there are no eigenvectors; both overwrite the matrix.

// Relative tolerance of both stages (the extended value nearest to 1e-14).
inline constexpr long double EigenEps = 1e-14L;

// QL3 steps allowed in one call of QLEigen, over all blocks of the matrix.
inline constexpr std::int32_t QLStepLimit = 10000;

// Reduces the symmetric matrix A (both triangles stored) in place to
// tridiagonal form by Householder reflections, from the first row down.
// Afterwards the diagonal is A(i, i) and the coupling of rows i-1 and i is
// A(i-1, i) = A(i, i-1); every other entry is left-over data. Cost O(N^3).
void Tridiagonalize(TExtMatrix &A);

// Eigenvalues of the tridiagonal output of Tridiagonalize by the explicitly
// shifted QL iteration with recursive splitting. On return Ok is true and
// A(i, i), i = 1..N, hold the eigenvalues in no prescribed order; every
// coupling is 0 or below the tolerance. Throws NumericalFailure("QL3 is
// called too many times") when the QLStepLimit-th step does not finish it.
void QLEigen(TExtMatrix &A, bool &Ok);

// The same with another step limit, so that the limit can be reached with a
// small matrix. The program always uses QLStepLimit.
void QLEigen(TExtMatrix &A, bool &Ok, std::int32_t stepLimit);
