#include "analysis/NullVector.h"

#include "analysis/ExtMath.h"
#include "analysis/NullVectorWork.h"

#include <cmath>
#include <cstring>

// The elimination is the O(n^3) inner part of SymEigen's O(n^4), and on x87
// every load and store of an 80-bit value is slow. So each entry is read and
// written once per step: the pivot search of step k+1 runs inside the
// elimination of step k, on the values just computed, in the same row-by-row
// order with the same strict comparison. The first largest entry therefore
// wins exactly as a separate search would find it, and (k+1, k+1), the first
// entry of the order, wins every tie. Exchanges move plain bytes.

namespace {

// The first largest magnitude in row-by-row order, as found so far.
struct Pivot {
    long double best = -1.0L; // below every magnitude: the first entry always wins
    int PR = 0;
    int PC = 0;

    void consider(long double value, int i, int j)
    {
        const long double magnitude = std::fabs(value);
        if (magnitude > best) {
            best = magnitude;
            PR = i;
            PC = j;
        }
    }

    // Takes over the winner of a later part of the order if it is strictly
    // larger, so that parts searched separately combine to one search.
    void merge(const Pivot &later)
    {
        if (later.best > best)
            *this = later;
    }
};

// M = A - shift I in the leading block, and the pivot of step 1 (whose
// magnitude is G, the largest entry).
Pivot LoadShifted(const TExtMatrix &A, int n, long double shift, TExtMatrix &M)
{
    Pivot pivot;
    for (int i = 1; i <= n; ++i) {
        std::memcpy(&M(i, 1), &A(i, 1), sizeof(long double) * n);
        M(i, i) = A(i, i) - shift;
        for (int j = 1; j <= n; ++j)
            pivot.consider(M(i, j), i, j);
    }
    return pivot;
}

// Brings the pivot to (k, k), divides row k right of the diagonal by it and
// eliminates column k below it; returns the pivot of step k+1. Neither
// M(k, k) nor M(i, k), i > k, is read again, so neither is updated.
Pivot EliminateStep(NullVectorWork &w, int n, int k, const Pivot &pivot)
{
    TExtMatrix &M = w.M;
    if (pivot.PC > k) {
        SwapExt(w.P(k), w.P(pivot.PC));
        for (int i = 1; i <= n; ++i)
            SwapExt(M(i, k), M(i, pivot.PC));
    }
    if (pivot.PR > k)
        for (int j = k; j <= n; ++j)
            SwapExt(M(k, j), M(pivot.PR, j));
    const long double q = Div(1.0L, M(k, k));
    for (int j = k + 1; j <= n; ++j)
        M(k, j) = M(k, j) * q;

    // Two rows at a time share each load of M(k, j). Each row keeps its own
    // first largest entry; merging them in row order gives the row-by-row
    // search.
    Pivot next;
    int i = k + 1;
    for (; i + 1 <= n; i += 2) {
        const long double f1 = M(i, k), f2 = M(i + 1, k);
        Pivot row1, row2;
        for (int j = k + 1; j <= n; ++j) {
            const long double mkj = M(k, j);
            const long double v1 = M(i, j) - f1 * mkj;
            M(i, j) = v1;
            row1.consider(v1, i, j);
            const long double v2 = M(i + 1, j) - f2 * mkj;
            M(i + 1, j) = v2;
            row2.consider(v2, i + 1, j);
        }
        next.merge(row1);
        next.merge(row2);
    }
    if (i == n) {
        const long double f = M(i, k);
        Pivot row;
        for (int j = k + 1; j <= n; ++j) {
            const long double v = M(i, j) - f * M(k, j);
            M(i, j) = v;
            row.consider(v, i, j);
        }
        next.merge(row);
    }
    return next;
}

// Unit null vector from rows 1..rank of the reduced matrix, the free
// variables all 1 before normalisation, put back in W's column order.
void BackSubstitute(NullVectorWork &w, int n, int rank, TExtVector &x)
{
    const TExtMatrix &M = w.M;
    TExtVector &y = w.y;
    for (int j = rank + 1; j <= n; ++j)
        y(j) = 1.0L;
    for (int i = rank; i >= 1; --i) {
        long double sum = 0.0L;
        for (int j = i + 1; j <= n; ++j)
            sum = sum - M(i, j) * y(j);
        y(i) = sum;
    }
    long double ss = 0.0L;
    for (int j = 1; j <= n; ++j)
        ss = ss + y(j) * y(j);
    const long double sinv = Div(1.0L, Sqrt(ss)); // ss >= 1: a free variable is 1
    for (int j = 1; j <= n; ++j)
        y(j) = y(j) * sinv;
    for (int j = 1; j <= n; ++j)
        x(static_cast<int>(std::lround(w.P(j)))) = y(j);
}

} // namespace

void ShiftedNullVector(
    const TExtMatrix &A, int n, long double shift, NullVectorWork &work, TExtVector &x, int &rank)
{
    Pivot pivot = LoadShifted(A, n, shift, work.M);
    const long double T = NullVectorTolerance * pivot.best;
    for (int j = 1; j <= n; ++j)
        work.P(j) = j;

    rank = n;
    for (int k = 1;; ++k) {
        if (pivot.best <= T) {
            rank = k - 1;
            break;
        }
        if (k >= n)
            break; // the last pivot is only counted
        pivot = EliminateStep(work, n, k, pivot);
    }

    if (rank >= n) {
        for (int j = 1; j <= n; ++j)
            x(j) = 0.0L;
        return;
    }
    BackSubstitute(work, n, rank, x);
}

void NullVector(const TExtMatrix &W, int n, TExtVector &x, int &rank)
{
    NullVectorWork work;
    ShiftedNullVector(W, n, 0.0L, work, x, rank);
}
