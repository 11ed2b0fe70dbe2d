#pragma once

#include "analysis/Types.h"

// Eigenpairs of a symmetric matrix and the singular value decomposition built
// on them, in 80-bit extended precision. Eigenvalues come from Tridiagonalize
// and QLEigen, each eigenvector separately as the null vector of A - lambda I.

// A matrix whose largest absolute entry is below this has no eigenpairs.
inline constexpr long double ZeroMatrixLimit = 1e-10L;
// Eigenvalues are kept when their magnitude is strictly above this times the
// largest absolute entry of the matrix.
inline constexpr long double EigenTolerance = 1e-10L;
// Neighbouring kept eigenvalues closer than this, relative to the sum of
// their magnitudes, switch deflation on.
inline constexpr long double CloseEigenvalueLimit = 1e-7L;

// Eigenpairs of the symmetric n x n matrix A (n = 1..MaxCat): Count pairs,
// Lambda(1..Count) in descending order of magnitude (signs kept; on equal
// magnitudes the order a selection sort with exchanges leaves), X column k the
// unit eigenvector of Lambda(k), its sign set by NullVector. Lambda beyond
// the kept values up to n is 0. Count is at most MaxCount (except for n = 1).
// When A has no entry of magnitude 1e-10 or more, Count = 0 and Lambda and X
// are not touched. A is changed only when deflation is on (close eigenvalues):
// then each pair found is subtracted from it, A - lambda x x^T.
// Throws NumericalFailure("QL failed") or ("calculation accuracy error
// occurred.") when an eigenvalue cannot be found or is not accurate enough
// to make A - lambda I singular; a failure leaves the columns of X before it
// written and the rest untouched. Cost O(n^4): one elimination per pair,
// spread over AnalysisThreads() (Parallel.h) for n >= 10 without deflation,
// with the same results on any number of threads.
void SymEigen(TExtMatrix &A, int n, int MaxCount, int &Count, TExtVector &Lambda, TExtMatrix &X);

// Singular values and vectors of the m x n matrix A (1..MaxCat each) through
// the eigenpairs of the smaller cross-product matrix: A = sum over d = 1..r of
// S(d) U(:, d) V(:, d)^T up to rounding, S descending, U and V with unit
// columns. The side found by SymEigen (U when m <= n, else V) carries its
// sign convention, the other follows from it. r = 0 leaves U, S and V
// untouched. A is not changed.
void SVD(const TExtMatrix &A, int m, int n, TExtMatrix &U, TExtVector &S, int &r, TExtMatrix &V);
