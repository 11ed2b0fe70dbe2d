#pragma once

#include "analysis/Types.h"

// The scratch of NullVector, held by a caller that needs many null vectors
// (SymEigen: one per eigenvalue), so that it is set up once.
struct NullVectorWork {
    TExtMatrix M; // the matrix being reduced, leading n x n block
    TExtVector P; // column labels: P(j) = index in W of the column now at j
    TExtVector y; // the null vector in permuted order
};

// NullVector of W = A - shift I, formed directly in work.M. With shift 0 it
// is NullVector(A, ...) itself: x - 0 is x for every x.
void ShiftedNullVector(
    const TExtMatrix &A, int n, long double shift, NullVectorWork &work, TExtVector &x, int &rank);
