#include "NullVector.h"

#include "ExtMath.h"

#include <cmath>

void SwapExt(long double &a, long double &b)
{
    const long double t = a;
    a = b;
    b = t;
}

namespace {

// The state of one elimination: the working copy M, the column labels P
// (held as extended values, P(j) = index in W of the column now at j) and
// the tolerance.
struct Elimination {
    TExtMatrix M;
    TExtVector P;
    long double T = 0.0L;
    int n = 0;

    // Row and column of the first largest abs(M(i, j)), i, j = k..n, in
    // row-by-row order; (k, k) wins every tie.
    long double PivotSearch(int k, int &PR, int &PC) const
    {
        PR = k;
        PC = k;
        long double best = std::fabs(M(k, k));
        for (int i = k; i <= n; ++i)
            for (int j = k; j <= n; ++j)
                if (std::fabs(M(i, j)) > best) {
                    best = std::fabs(M(i, j));
                    PR = i;
                    PC = j;
                }
        return best;
    }

    // Brings the pivot to (k, k), divides row k right of the diagonal by it
    // and eliminates column k below it. Neither M(k, k) nor M(i, k), i > k,
    // is read again, so neither is updated.
    void EliminateStep(int k, int PR, int PC)
    {
        if (PC > k) {
            SwapExt(P(k), P(PC));
            for (int i = 1; i <= n; ++i)
                SwapExt(M(i, k), M(i, PC));
        }
        if (PR > k)
            for (int j = k; j <= n; ++j)
                SwapExt(M(k, j), M(PR, j));
        const long double q = Div(1.0L, M(k, k));
        for (int j = k + 1; j <= n; ++j)
            M(k, j) = M(k, j) * q;
        for (int i = k + 1; i <= n; ++i) {
            const long double f = M(i, k);
            for (int j = k + 1; j <= n; ++j)
                M(i, j) = M(i, j) - f * M(k, j);
        }
    }

    // Unit null vector from the rows 1..rank of the reduced matrix, the free
    // variables all 1 before normalisation, then back in W's column order.
    void BackSubstitute(int rank, TExtVector &x) const
    {
        TExtVector y;
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
};

} // namespace

void NullVector(const TExtMatrix &W, int n, TExtVector &x, int &rank)
{
    Elimination e;
    e.n = n;
    long double G = 0.0L;
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) {
            e.M(i, j) = W(i, j);
            if (std::fabs(W(i, j)) > G)
                G = std::fabs(W(i, j));
        }
    e.T = NullVectorTolerance * G;
    for (int j = 1; j <= n; ++j)
        e.P(j) = j;

    rank = n;
    for (int k = 1;; ++k) {
        int PR = 0, PC = 0;
        if (e.PivotSearch(k, PR, PC) <= e.T) {
            rank = k - 1;
            break;
        }
        if (k >= n)
            break; // the last pivot is only counted
        e.EliminateStep(k, PR, PC);
    }

    if (rank >= n) {
        for (int j = 1; j <= n; ++j)
            x(j) = 0.0L;
        return;
    }
    e.BackSubstitute(rank, x);
}
