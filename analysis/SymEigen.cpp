#include "analysis/SymEigen.h"

#include "analysis/EigenSolver.h"
#include "analysis/Errors.h"
#include "analysis/NullVectorWork.h"
#include "analysis/Parallel.h"
#include "analysis/SymEigenSeam.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <exception>
#include <memory>
#include <vector>

namespace {

long double LargestAbsEntry(const TExtMatrix &A)
{
    const int n = A.rows();
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
void SortDiagonal(TExtMatrix &W)
{
    const int n = W.rows();
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

// Orders from which the eliminations are spread over the threads; below it
// handing work to another thread costs more than the elimination.
constexpr int ParallelOrder = 20;

// The outcome of one elimination, kept until the results are taken in order.
struct FoundVector {
    TExtVector x;
    int rank = 0;
    std::exception_ptr error;
};

// The null vectors of A - Lambda(k) I, k = 1..Count, on all threads at once:
// each is independent of the others and has a place of its own.
std::vector<FoundVector> AllNullVectors(const TExtMatrix &A, const TExtVector &Lambda, int Count)
{
    std::vector<FoundVector> found(Count);
    const auto work = std::make_unique_for_overwrite<NullVectorWork[]>(AnalysisThreads());
    ParallelFor(Count, [&](int item, int slot) {
        FoundVector &f = found[item];
        try {
            ShiftedNullVector(A, Lambda(item + 1), work[slot], f.x, f.rank);
        } catch (...) {
            f.error = std::current_exception();
        }
    });
    return found;
}

} // namespace

void SymEigenWith(QLEigenStage qlEigen, TExtMatrix &A, int &Count, TExtVector &Lambda,
    TExtMatrix &X, int VectorCount)
{
    assert(A.rows() == A.cols() && A.rows() >= 1);
    const int n = A.rows();
    const long double G = LargestAbsEntry(A);
    if (IsZeroMatrix(G)) {
        Count = 0;
        return;
    }
    if (n == 1) {
        Count = 1;
        Lambda.resize(1);
        Lambda(1) = A(1, 1);
        X.resize(1, std::clamp(VectorCount, 0, 1));
        if (X.cols() == 1)
            X(1, 1) = 1.0L;
        return;
    }

    TExtMatrix W = A; // the eigenvalue stages overwrite their matrix
    Tridiagonalize(W);
    bool Ok = true;
    qlEigen(W, Ok);
    if (!Ok)
        throw NumericalFailure("QL failed");
    SortDiagonal(W);

    const long double T = EigenTolerance * G;
    Lambda.resize(n);
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
    const int vectors = std::clamp(VectorCount, 0, Count);
    X.resize(n, vectors);

    // Without deflation the eliminations do not depend on each other and are
    // done at once; with it each one needs A as the previous ones left it.
    // Either way the results are taken, and a failure raised, in order of k.
    const bool atOnce = !deflate && n >= ParallelOrder;
    std::vector<FoundVector> found;
    if (atOnce)
        found = AllNullVectors(A, Lambda, vectors);
    NullVectorWork work;
    TExtVector x;
    for (int k = 1; k <= vectors; ++k) {
        int rank = 0;
        if (atOnce) {
            if (found[k - 1].error)
                std::rethrow_exception(found[k - 1].error);
            x = found[k - 1].x;
            rank = found[k - 1].rank;
        } else {
            ShiftedNullVector(A, Lambda(k), work, x, rank); // A in its current state
        }
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

void SymEigen(TExtMatrix &A, int &Count, TExtVector &Lambda, TExtMatrix &X, int VectorCount)
{
    SymEigenWith(&QLEigen, A, Count, Lambda, X, VectorCount);
}
