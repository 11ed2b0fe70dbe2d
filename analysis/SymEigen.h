#pragma once

#include "analysis/Types.h"

#include <limits>

// Eigenpairs of a symmetric matrix in 80-bit extended precision. Eigenvalues
// come from Tridiagonalize and QLEigen, each eigenvector separately as the
// null vector of A - lambda I.

// A matrix whose largest absolute entry is below this has no eigenpairs.
inline constexpr long double ZeroMatrixLimit = 1e-10L;
// Eigenvalues are kept when their magnitude is strictly above this times the
// largest absolute entry of the matrix.
inline constexpr long double EigenTolerance = 1e-10L;
// Neighbouring kept eigenvalues closer than this, relative to the sum of
// their magnitudes, switch deflation on.
inline constexpr long double CloseEigenvalueLimit = 1e-7L;

// A VectorCount that asks for the eigenvector of every kept eigenvalue.
inline constexpr int AllVectors = std::numeric_limits<int>::max();

// Eigenpairs of the symmetric n x n matrix A (n = A.rows() = A.cols() >= 1):
// Count kept eigenvalues, Lambda(1..Count) in descending order of magnitude
// (signs kept; on equal magnitudes the order a selection sort with exchanges
// leaves), Lambda sized n and 0 beyond Count. X is sized n x K with
// K = min(VectorCount, Count) (no columns for VectorCount <= 0): column k is
// the unit eigenvector of Lambda(k), its sign set by NullVector. Eigenvector
// k depends on eigenvectors 1..k-1 only (through deflation), so asking for
// fewer gives the same bits in the columns computed.
// When A has no entry of magnitude 1e-10 or more, Count = 0 and Lambda and X
// are not touched. A is changed only when deflation is on (close eigenvalues):
// then each pair found is subtracted from it, A - lambda x x^T.
// Throws NumericalFailure("QL failed") or ("calculation accuracy error
// occurred.") when an eigenvalue cannot be found or is not accurate enough
// to make A - lambda I singular; a failure leaves the columns of X before it
// written. Cost O(n^3) for the eigenvalues plus O(n^3) per eigenvector; the
// eliminations are spread over AnalysisThreads() (Parallel.h) for n >= 20
// without deflation, with the same results on any number of threads.
void SymEigen(
    TExtMatrix &A, int &Count, TExtVector &Lambda, TExtMatrix &X, int VectorCount = AllVectors);
