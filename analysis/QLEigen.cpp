#include "analysis/EigenSolver.h"

#include "analysis/Errors.h"
#include "analysis/ExtMath.h"

#include <cassert>
#include <cmath>

namespace {

// The state of one QLEigen call, shared by every recursion level of QLSplit:
// the matrix, the fixed tolerance, the step count and the rotations of the
// current QL3 step.
class QLIteration {
public:
    QLIteration(TExtMatrix &A, bool &Ok, long double tol, std::int32_t stepLimit)
        : A(A)
        , Ok(Ok)
        , tol(tol)
        , stepLimit(stepLimit)
        , RotCos(A.rows())
        , RotSin(A.rows())
    {
    }

    // Returns once every coupling inside rows Lo..Hi is negligible, or once
    // Ok is false. Each recursive call gets a strictly smaller block, so the
    // depth is at most N.
    void QLSplit(int Lo, int Hi);

private:
    bool negligible(int j) const { return std::fabs(A(j - 1, j)) < tol; }

    void Eigen2x2(int Lo, int Hi);
    void QL3(int Lo, int Hi);
    long double QLShift(int Lo);
    void QLFactor(int Lo, int Hi);
    void QLRecombine(int Lo, int Hi);

    TExtMatrix &A;
    bool &Ok;
    const long double tol;
    const std::int32_t stepLimit;
    std::int32_t QLCount = 0;
    // Rotation acting on rows i-1 and i, stored at index i; valid between
    // QLFactor and QLRecombine of one step.
    TExtVector RotCos, RotSin;
};

// (a + d)^2 - 4 (a d - b c) with b = c equals (a - d)^2 + 4 b^2 >= 0 in exact
// arithmetic. Rounding can leave it slightly negative when a and d are nearly
// equal and b is small; the true value is then tiny and non-negative, so 0 is
// the closest representable answer and the square root must not fail on it.
long double ClampDiscriminant(long double disc)
{
    return disc < 0.0L ? 0.0L : disc;
}

void QLIteration::QLSplit(int Lo, int Hi)
{
    if (Lo >= Hi)
        return;
    for (;;) {
        if (negligible(Hi)) {
            int j = Hi - 1;
            while (j >= Lo + 1 && negligible(j))
                --j;
            if (j < Lo + 1)
                return; // fully reduced
            QLSplit(Lo, j);
            QLSplit(j + 1, Hi);
        } else {
            int j = Hi - 1;
            while (j >= Lo + 1 && !negligible(j))
                --j;
            if (j >= Lo + 1) {
                QLSplit(Lo, j - 1);
                QLSplit(j, Hi);
            } else if (Hi == Lo + 1) {
                Eigen2x2(Lo, Hi);
            } else {
                QL3(Lo, Hi);
            }
        }
        if (!Ok)
            return;
    }
}

// Closed form for an unreduced 2 x 2 block; the value of smaller magnitude
// ends at Lo (on equal magnitudes nothing is exchanged).
void QLIteration::Eigen2x2(int Lo, int Hi)
{
    const long double a = A(Lo, Lo), d = A(Hi, Hi), b = A(Lo, Hi), c = A(Hi, Lo);
    const long double r = Sqrt(ClampDiscriminant((a + d) * (a + d) - 4 * (a * d - b * c)));
    A(Lo, Lo) = ((a + d) - r) * 0.5L;
    A(Hi, Hi) = ((a + d) + r) * 0.5L;
    if (std::fabs(A(Lo, Lo)) > std::fabs(A(Hi, Hi))) {
        const long double t = A(Lo, Lo);
        A(Lo, Lo) = A(Hi, Hi);
        A(Hi, Hi) = t;
    }
    A(Lo, Hi) = 0.0L;
    A(Hi, Lo) = 0.0L;
}

// One explicitly shifted QL step on an unreduced block with Hi >= Lo + 2.
void QLIteration::QL3(int Lo, int Hi)
{
    QLCount = QLCount + 1;
    if (QLCount > stepLimit) {
        Ok = false;
        throw NumericalFailure("QL3 is called too many times");
    }
    const long double mu = QLShift(Lo);
    for (int i = Lo; i <= Hi; ++i)
        A(i, i) = A(i, i) - mu;
    QLFactor(Lo, Hi);
    QLRecombine(Lo, Hi);
    for (int i = Lo; i <= Hi; ++i)
        A(i, i) = A(i, i) + mu;
}

// The eigenvalue of smaller magnitude of the top 2 x 2 block (mu1 on a tie).
long double QLIteration::QLShift(int Lo)
{
    const long double a = A(Lo, Lo), d = A(Lo + 1, Lo + 1);
    const long double b = A(Lo, Lo + 1), c = A(Lo + 1, Lo);
    const long double beta = -(a + d);
    const long double gamma = a * d - b * c;
    const long double r = Sqrt(ClampDiscriminant(beta * beta - gamma * 4));
    const long double mu1 = (-beta + r) * 0.5L;
    const long double mu2 = (-beta - r) * 0.5L;
    return std::fabs(mu1) > std::fabs(mu2) ? mu2 : mu1;
}

// Shifted block = Q L by one Givens rotation per coupling, bottom up. The
// second sub-diagonal of L is never needed and is not stored.
void QLIteration::QLFactor(int Lo, int Hi)
{
    for (int i = Hi; i >= Lo + 1; --i) {
        // Everything this rotation reads is read before anything is stored.
        const long double x = A(i - 1, i), y = A(i, i);
        const long double g = A(i - 1, i - 1), w = A(i, i - 1);
        const long double f = i > Lo + 1 ? A(i - 1, i - 2) : 0.0L;
        // x is an unchanged coupling of the unreduced block, abs(x) >= tol > 0.
        const long double rinv = Div(1.0L, Sqrt(x * x + y * y));
        RotCos(i) = y * rinv;
        RotSin(i) = -x * rinv;
        const long double cs = RotCos(i), sn = RotSin(i);
        A(i - 1, i) = 0.0L;
        A(i, i) = -(sn * x) + cs * y;
        A(i - 1, i - 1) = cs * g + sn * w;
        A(i, i - 1) = -(sn * g) + cs * w;
        if (i > Lo + 1)
            A(i - 1, i - 2) = cs * f;
    }
}

// The next iterate L Q: the same rotations applied from the right, then the
// lower couplings copied from the upper ones to keep the block symmetric.
void QLIteration::QLRecombine(int Lo, int Hi)
{
    for (int i = Hi; i >= Lo + 1; --i) {
        const long double g = A(i - 1, i - 1), w = A(i, i - 1), y = A(i, i);
        const long double cs = RotCos(i), sn = RotSin(i);
        A(i - 1, i - 1) = cs * g;
        A(i - 1, i) = -(sn * g);
        A(i, i) = -(sn * w) + cs * y;
    }
    for (int i = Lo + 1; i <= Hi; ++i)
        A(i, i - 1) = A(i - 1, i);
}

} // namespace

void QLEigen(TExtMatrix &A, bool &Ok)
{
    QLEigen(A, Ok, QLStepLimit);
}

void QLEigen(TExtMatrix &A, bool &Ok, std::int32_t stepLimit)
{
    assert(A.rows() == A.cols());
    const int N = A.rows();
    Ok = true;
    if (N <= 1)
        return;
    // Only the diagonal and the upper couplings: the rest is left-over data.
    long double amax = std::fabs(A(1, 1));
    for (int i = 2; i <= N; ++i) {
        if (std::fabs(A(i, i)) > amax)
            amax = std::fabs(A(i, i));
        if (std::fabs(A(i - 1, i)) > amax)
            amax = std::fabs(A(i - 1, i));
    }
    if (amax <= 0.0L)
        return; // all eigenvalues are 0 and stand on the diagonal
    QLIteration(A, Ok, amax * EigenEps, stepLimit).QLSplit(1, N);
}
