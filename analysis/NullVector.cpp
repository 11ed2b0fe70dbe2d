#include "analysis/NullVector.h"

#include "analysis/ExtMath.h"
#include "analysis/NullVectorWork.h"

#include <cassert>
#include <cmath>
#include <utility>

// The elimination is the O(n^3) inner part of SymEigen's O(n^4). On x86 a
// load or store of the 10-byte extended format is slow microcode, so the
// working matrix is held as pairs of doubles (ExtPair) whenever every value
// it takes fits one exactly; all arithmetic stays extended. A single value
// that does not fit sends the whole elimination back to the start in 80-bit
// cells, so that the result never depends on the storage.
//
// The pivot search of step k+1 runs inside the elimination of step k, on the
// values just computed, in the same row-by-row order with the same strict
// comparison: the first largest entry wins exactly as a separate search would
// find it, and (k+1, k+1), the first entry of the order, wins every tie. A
// separate pass would read the matrix once more and wait on each comparison;
// it cost about 40 per cent of the elimination's time. Eliminating two rows
// at a time, so that they share each read of row k, saved under a tenth and
// is not worth its length.

namespace {

// The two storages behind one interface: read, write, exchange, and whether
// every value written so far reads back exactly.
class ExtCells {
public:
    explicit ExtCells(TExtMatrix &m)
        : m_(m)
    {
    }
    long double operator()(int i, int j) const { return m_(i, j); }
    void set(int i, int j, long double v) { m_(i, j) = v; }
    void exchange(int i1, int j1, int i2, int j2) { SwapExt(m_(i1, j1), m_(i2, j2)); }
    bool exact() const { return true; }

private:
    TExtMatrix &m_;
};

class PairCells {
public:
    explicit PairCells(OneBasedMatrix<ExtPair> &m)
        : m_(m)
    {
    }
    long double operator()(int i, int j) const { return Load(m_(i, j)); }
    void set(int i, int j, long double v) { exact_ &= StoreExact(m_(i, j), v); }
    void exchange(int i1, int j1, int i2, int j2) { std::swap(m_(i1, j1), m_(i2, j2)); }
    bool exact() const { return exact_; }

private:
    OneBasedMatrix<ExtPair> &m_;
    bool exact_ = true;
};

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
};

template <class Cells> class Elimination {
public:
    Elimination(Cells &M, NullVectorWork &work, int n)
        : M(M)
        , P(work.P)
        , y(work.y)
        , n(n)
    {
    }

    // The null vector of A - shift I; false as soon as the storage has lost
    // a value (x is then untouched and the results are void).
    bool Run(const TExtMatrix &A, long double shift, TExtVector &x, int &rank)
    {
        // W = A - shift I; the pivot of step 1 has the largest magnitude.
        Pivot pivot;
        for (int i = 1; i <= n; ++i)
            for (int j = 1; j <= n; ++j) {
                const long double w = i == j ? A(i, i) - shift : A(i, j);
                M.set(i, j, w);
                pivot.consider(w, i, j);
            }
        if (!M.exact())
            return false;
        const long double T = NullVectorTolerance * pivot.best;
        for (int j = 1; j <= n; ++j)
            P(j) = j;

        rank = n;
        for (int k = 1;; ++k) {
            if (pivot.best <= T) {
                rank = k - 1;
                break;
            }
            if (k >= n)
                break; // the last pivot is only counted
            pivot = EliminateStep(k, pivot);
            if (!M.exact()) // checked before the next step divides by a pivot
                return false;
        }

        if (rank >= n) {
            for (int j = 1; j <= n; ++j)
                x(j) = 0.0L;
            return true;
        }
        BackSubstitute(rank, x);
        return true;
    }

private:
    // Brings the pivot to (k, k), divides row k right of the diagonal by it
    // and eliminates column k below it. Neither M(k, k) nor M(i, k), i > k,
    // is read again, so neither is updated. Returns the pivot of step k+1.
    Pivot EliminateStep(int k, const Pivot &pivot)
    {
        if (pivot.PC > k) {
            SwapExt(P(k), P(pivot.PC));
            for (int i = 1; i <= n; ++i)
                M.exchange(i, k, i, pivot.PC);
        }
        if (pivot.PR > k)
            for (int j = k; j <= n; ++j)
                M.exchange(k, j, pivot.PR, j);
        const long double q = Div(1.0L, M(k, k));
        for (int j = k + 1; j <= n; ++j)
            M.set(k, j, M(k, j) * q);
        Pivot next;
        for (int i = k + 1; i <= n; ++i) {
            const long double f = M(i, k);
            for (int j = k + 1; j <= n; ++j) {
                const long double v = M(i, j) - f * M(k, j);
                M.set(i, j, v);
                next.consider(v, i, j);
            }
        }
        return next;
    }

    // Unit null vector from rows 1..rank of the reduced matrix, the free
    // variables all 1 before normalisation, put back in W's column order.
    void BackSubstitute(int rank, TExtVector &x)
    {
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
            x(static_cast<int>(std::lround(P(j)))) = y(j);
    }

    Cells &M;
    TExtVector &P;
    TExtVector &y;
    const int n;
};

} // namespace

void ShiftedNullVector(const TExtMatrix &A, long double shift, NullVectorWork &work, TExtVector &x,
    int &rank, WorkStorage storage)
{
    assert(A.rows() == A.cols());
    const int n = A.rows();
    work.P.resize(n);
    work.y.resize(n);
    x.resize(n);
    if (storage == WorkStorage::PairsWhenExact) {
        work.pairs.resize(n, n);
        PairCells pairs(work.pairs);
        work.heldInPairs = Elimination(pairs, work, n).Run(A, shift, x, rank);
        if (work.heldInPairs)
            return;
    }
    work.heldInPairs = false;
    TExtMatrix cells(n, n);
    ExtCells ext(cells);
    Elimination(ext, work, n).Run(A, shift, x, rank);
}

void NullVector(const TExtMatrix &W, TExtVector &x, int &rank)
{
    NullVectorWork work;
    ShiftedNullVector(W, 0.0L, work, x, rank);
}
