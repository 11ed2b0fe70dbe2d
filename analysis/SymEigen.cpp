#include "EigenSolver.h"
#include "Errors.h"
#include "NullVectorWork.h"
#include "SVD.h"
#include "SymEigenSeam.h"

#include <cmath>

namespace {

long double LargestAbsEntry(const TExtMatrix &A, int n)
{
    long double G = 0.0L;
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            if (std::fabs(A(i, j)) > G)
                G = std::fabs(A(i, j));
    return G;
}

bool IsZeroMatrix(long double G)
{
    return G < ZeroMatrixLimit;
}

// Selection sort of the diagonal by magnitude, largest first. A later value
// of equal magnitude does not replace the candidate, and the candidate is
// exchanged with position i: so 2, -2, 3 becomes 3, -2, 2.
void SortDiagonal(TExtMatrix &W, int n)
{
    for (int i = 1; i <= n - 1; ++i) {
        int p = i;
        for (int j = i + 1; j <= n; ++j)
            if (std::fabs(W(j, j)) > std::fabs(W(p, p)))
                p = j;
        if (p > i) {
            const long double t = W(i, i);
            W(i, i) = W(p, p);
            W(p, p) = t;
        }
    }
}

// True when two neighbouring kept eigenvalues are so close that their null
// vectors could not be told apart without deflation.
bool HasCloseEigenvalues(const TExtVector &Lambda, int Count)
{
    for (int i = 1; i <= Count - 1; ++i)
        if (std::fabs(Lambda(i) - Lambda(i + 1))
            < CloseEigenvalueLimit * (std::fabs(Lambda(i)) + std::fabs(Lambda(i + 1))))
            return true;
    return false;
}

} // namespace

void SymEigenWith(QLEigenStage qlEigen, TExtMatrix &A, int n, int MaxCount, int &Count,
    TExtVector &Lambda, TExtMatrix &X)
{
    const long double G = LargestAbsEntry(A, n);
    if (IsZeroMatrix(G)) {
        Count = 0;
        return;
    }
    if (n == 1) {
        Count = 1;
        Lambda(1) = A(1, 1);
        X(1, 1) = 1.0L;
        return;
    }

    TExtMatrix W;
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            W(i, j) = A(i, j);
    Tridiagonalize(W, n);
    bool Ok = true;
    qlEigen(W, n, Ok);
    if (!Ok)
        throw NumericalFailure("QL failed");
    SortDiagonal(W, n);

    const long double T = EigenTolerance * G;
    Count = 0;
    for (int i = 1; i <= n; ++i) {
        if (std::fabs(W(i, i)) > T) {
            Count = Count + 1;
            Lambda(Count) = W(i, i);
        } else {
            Lambda(i) = 0.0L;
        }
    }
    const bool deflate = HasCloseEigenvalues(Lambda, Count);
    if (Count > MaxCount)
        Count = MaxCount;

    NullVectorWork work;
    TExtVector x;
    for (int k = 1; k <= Count; ++k) {
        int rank = 0;
        ShiftedNullVector(A, n, Lambda(k), work, x, rank); // A in its current state
        if (rank >= n)
            throw NumericalFailure("calculation accuracy error occurred.");
        for (int i = 1; i <= n; ++i)
            X(i, k) = x(i);
        // Moves this eigenvalue to 0, so that the null vector of a repeated
        // eigenvalue found next is orthogonal to the ones already found.
        if (deflate)
            for (int i = 1; i <= n; ++i)
                for (int j = 1; j <= n; ++j)
                    A(i, j) = A(i, j) - Lambda(k) * x(i) * x(j);
    }
}

void SymEigen(TExtMatrix &A, int n, int MaxCount, int &Count, TExtVector &Lambda, TExtMatrix &X)
{
    SymEigenWith(&QLEigen, A, n, MaxCount, Count, Lambda, X);
}
