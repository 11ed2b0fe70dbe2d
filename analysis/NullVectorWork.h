#pragma once

#include "analysis/ExtPair.h"
#include "analysis/Types.h"

// The scratch of NullVector, held by a caller that needs many null vectors
// (SymEigen: one per eigenvalue), so that it is allocated once: each call
// sizes it to the order of its matrix, which costs nothing when the order is
// that of the call before. The matrix being
// reduced is kept as pairs of doubles (ExtPair) whenever every value it takes
// is held exactly that way, else in 80-bit cells allocated for that call; the
// results are the same bits either way, only the speed differs.
struct NullVectorWork {
    OneBasedMatrix<ExtPair> pairs;
    TExtVector P; // column labels: P(j) = index in W of the column now at j
    TExtVector y; // the null vector in permuted order
    bool heldInPairs = false; // the last call ran in pairs from start to end
};

// Where the working matrix lives: pairs with the 80-bit fallback, or 80-bit
// cells from the start (the reference the pairs must agree with).
enum class WorkStorage { PairsWhenExact, Extended };

// NullVector of W = A - shift I, formed directly in the work matrix. With
// shift 0 it is NullVector(A, ...) itself: x - 0 is x for every x.
void ShiftedNullVector(const TExtMatrix &A, long double shift, NullVectorWork &work, TExtVector &x,
    int &rank, WorkStorage storage = WorkStorage::PairsWhenExact);
