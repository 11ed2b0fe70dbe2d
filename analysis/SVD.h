#pragma once

#include "analysis/SymEigen.h"
#include "analysis/Types.h"

// Singular values and vectors of the m x n matrix A (m = A.rows(),
// n = A.cols(), both >= 1) through the eigenpairs of the smaller
// cross-product matrix (SymEigen): A = sum over d = 1..r of
// S(d) U(:, d) V(:, d)^T up to rounding, S descending (sized min(m, n), 0
// beyond r), U and V with unit columns. Only the vectors of d = 1..K,
// K = min(VectorCount, r), are computed: U is sized m x K and V n x K, and
// their bits do not depend on VectorCount. The side found by SymEigen (U when
// m <= n, else V) carries its sign convention, the other follows from it.
// r = 0 leaves U, S and V untouched. A is not changed. Cost O(m n min(m, n))
// for the cross product and the eigenvalues plus O(min(m, n)^3) per vector.
void SVD(const TExtMatrix &A, TExtMatrix &U, TExtVector &S, int &r, TExtMatrix &V,
    int VectorCount = AllVectors);
