#include "analysis/EigenSolver.h"
#include "MatrixHelpers.h"
#include "analysis/Errors.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The eigenvalues on the diagonal of A have the given sum, sum of squares and
// product (which determine three values).
void ExpectSymmetricFunctions(const TExtMatrix &A, int N, long double trace, long double squares,
    long double det, long double tolerance)
{
    long double sum = 0, sumSq = 0, product = 1;
    for (int i = 1; i <= N; ++i) {
        sum += A(i, i);
        sumSq += A(i, i) * A(i, i);
        product *= A(i, i);
    }
    EXPECT_NEAR(trace, sum, tolerance * 10);
    EXPECT_NEAR(squares, sumSq, tolerance * 100);
    EXPECT_NEAR(det, product, tolerance * 100);
}

void ExpectBlockEq(const TExtMatrix &expected, const TExtMatrix &actual, int N)
{
    for (int i = 1; i <= N; ++i)
        for (int j = 1; j <= N; ++j)
            EXPECT_EQ(expected(i, j), actual(i, j)) << "(" << i << ", " << j << ")";
}

} // namespace

TEST(Tridiagonalize, TridiagonalInputIsStillReflectedFlippingTheCouplings)
{
    TExtMatrix A = MakeMatrix({ { 1, 2, 0 }, { 2, 3, 4 }, { 0, 4, 5 } });
    Tridiagonalize(A);
    ExpectBlockEq(MakeMatrix({ { 1, -2, 0 }, { -2, 3, -4 }, { 0, -4, 5 } }), A, 3);
}

TEST(Tridiagonalize, OrdersOneAndTwoAndTheZeroMatrixAreLeftUnchanged)
{
    for (TExtMatrix A : { MakeMatrix({ { 3 } }), MakeMatrix({ { 3, 7 }, { 7, -2 } }) }) {
        const TExtMatrix before = A;
        Tridiagonalize(A);
        EXPECT_EQ(before, A) << A.rows();
    }
    TExtMatrix Z(3, 3);
    Tridiagonalize(Z);
    EXPECT_EQ(TExtMatrix(3, 3), Z);
}

TEST(Tridiagonalize, DiagonalMatrixGetsNoReflection)
{
    TExtMatrix A = MakeMatrix({ { 4, 0, 0, 0 }, { 0, -1, 0, 0 }, { 0, 0, 2, 0 }, { 0, 0, 0, 8 } });
    const TExtMatrix before = A;
    Tridiagonalize(A);
    EXPECT_EQ(before, A);
}

TEST(Tridiagonalize, ZeroCouplingTakesThePositiveRoot)
{
    // Row 1 beyond the diagonal is (0, 3, 4): s = +5.
    TExtMatrix A = MakeMatrix({ { 1, 0, 3, 4 }, { 0, 2, 0, 0 }, { 3, 0, 2, 0 }, { 4, 0, 0, 2 } });
    Tridiagonalize(A);
    EXPECT_EQ(5, A(1, 2));
    EXPECT_EQ(5, A(2, 1));
}

TEST(Tridiagonalize, TinyRowBeyondTheCouplingIsNotReflected)
{
    // amax = 1e6, so tol1 = 1e-8 and row 1's part (1e-9, 1e-9) is below 2 tol1.
    TExtMatrix A = MakeMatrix({ { 1e6L, 1e-9L, 1e-9L }, { 1e-9L, 2, 1 }, { 1e-9L, 1, 3 } });
    const TExtMatrix before = A;
    Tridiagonalize(A);
    EXPECT_EQ(before, A);
}

TEST(Tridiagonalize, LeftOverEntriesAreKeptAndTheResultIsSimilar)
{
    TExtMatrix A
        = MakeMatrix({ { 4, 1, -2, 2 }, { 1, 2, 0, 1 }, { -2, 0, 3, -2 }, { 2, 1, -2, -1 } });
    Tridiagonalize(A);
    // Left-over data: row 1 beyond the coupling is not cleared.
    EXPECT_EQ(-2, A(1, 3));
    EXPECT_EQ(2, A(1, 4));
    // Similarity keeps the trace and the Frobenius norm of the tridiagonal part.
    long double trace = 0, frob = 0;
    for (int i = 1; i <= 4; ++i) {
        trace += A(i, i);
        frob += A(i, i) * A(i, i);
        if (i > 1) {
            frob += 2 * A(i - 1, i) * A(i - 1, i);
            EXPECT_EQ(A(i - 1, i), A(i, i - 1));
        }
    }
    EXPECT_NEAR(8.0L, trace, 1e-17L);
    EXPECT_NEAR(16 + 4 + 9 + 1 + 2 * (1 + 4 + 4 + 0 + 1 + 4), frob, 1e-16L);
}

TEST(QLEigen, ClosedFormTwoByTwoPutsTheSmallerMagnitudeFirst)
{
    bool Ok = false;
    TExtMatrix A = MakeMatrix({ { 2, 1 }, { 1, 2 } });
    QLEigen(A, Ok);
    EXPECT_TRUE(Ok);
    ExpectBlockEq(MakeMatrix({ { 1, 0 }, { 0, 3 } }), A, 2);

    TExtMatrix B = MakeMatrix({ { -2, 1 }, { 1, -2 } });
    QLEigen(B, Ok);
    EXPECT_TRUE(Ok);
    ExpectBlockEq(MakeMatrix({ { -1, 0 }, { 0, -3 } }), B, 2);
}

TEST(QLEigen, OrderOneAndNegligibleCouplingsLeaveTheMatrixUnchanged)
{
    bool Ok = false;
    TExtMatrix A = MakeMatrix({ { -7 } });
    QLEigen(A, Ok);
    EXPECT_TRUE(Ok);
    EXPECT_EQ(-7, A(1, 1));

    // tol = 1e-14 * 4: a coupling of 1e-14 is negligible.
    TExtMatrix B = MakeMatrix({ { 4, 1e-14L }, { 1e-14L, 2 } });
    const TExtMatrix before = B;
    QLEigen(B, Ok);
    EXPECT_TRUE(Ok);
    EXPECT_EQ(before, B);

    TExtMatrix Z(3, 3);
    QLEigen(Z, Ok);
    EXPECT_TRUE(Ok);
    EXPECT_EQ(TExtMatrix(3, 3), Z);
}

TEST(QLEigen, CouplingEqualToTheToleranceIsNotNegligible)
{
    const long double tol = 1.0L * EigenEps;
    TExtMatrix A = MakeMatrix({ { 1, tol }, { tol, 0.5L } });
    bool Ok = false;
    QLEigen(A, Ok);
    EXPECT_TRUE(Ok);
    EXPECT_EQ(0, A(1, 2)); // solved in closed form, which clears the coupling
    EXPECT_EQ(0, A(2, 1));
    EXPECT_EQ(0.5L, A(1, 1));
    EXPECT_EQ(1, A(2, 2));
}

TEST(QLEigen, DiagonalMatrixTakesNoStepAndKeepsItsOrder)
{
    TExtMatrix A = MakeMatrix({ { 5, 0, 0 }, { 0, -3, 0 }, { 0, 0, 1 } });
    bool Ok = false;
    QLEigen(A, Ok, 0); // any QL3 step would exceed a limit of 0
    EXPECT_TRUE(Ok);
    ExpectBlockEq(MakeMatrix({ { 5, 0, 0 }, { 0, -3, 0 }, { 0, 0, 1 } }), A, 3);
}

TEST(QLEigen, BlocksOfTwoTakeNoQLStep)
{
    // Two unreduced 2 x 2 blocks split by a zero coupling.
    TExtMatrix A = MakeMatrix({ { 2, 1, 0, 0 }, { 1, 2, 0, 0 }, { 0, 0, 5, 2 }, { 0, 0, 2, 2 } });
    bool Ok = false;
    QLEigen(A, Ok, 0);
    EXPECT_TRUE(Ok);
    EXPECT_EQ(1, A(1, 1));
    EXPECT_EQ(3, A(2, 2));
    EXPECT_EQ(1, A(3, 3));
    EXPECT_EQ(6, A(4, 4));
}

TEST(QLEigen, TridiagonalExampleGivesItsEigenvalues)
{
    // Trace 9, sum of squares 75 and determinant -21 fix the three eigenvalues.
    TExtMatrix A = MakeMatrix({ { 1, 2, 0 }, { 2, 3, 4 }, { 0, 4, 5 } });
    Tridiagonalize(A);
    bool Ok = false;
    QLEigen(A, Ok);
    EXPECT_TRUE(Ok);
    ExpectSymmetricFunctions(A, 3, 9, 75, -21, 1e-16L);
    for (int i = 2; i <= 3; ++i)
        EXPECT_LT(std::fabs(A(i - 1, i)), 8.3L * EigenEps);
}

TEST(QLEigen, StepLimitRaisesTheFatalMessage)
{
    TExtMatrix A = MakeMatrix({ { 1, 2, 0 }, { 2, 3, 4 }, { 0, 4, 5 } });
    bool Ok = true;
    try {
        QLEigen(A, Ok, 0);
        FAIL() << "no NumericalFailure";
    } catch (const NumericalFailure &e) {
        EXPECT_STREQ("QL3 is called too many times", e.what());
    }
    EXPECT_FALSE(Ok);
}

TEST(QLEigen, StepLimitCountsEveryBlockOfTheCall)
{
    // Find how many steps a 6 x 6 matrix needs; one less must fail, exactly
    // that many must not.
    TExtMatrix A(6, 6);
    for (int i = 1; i <= 6; ++i) {
        A(i, i) = i * i;
        if (i > 1)
            A(i - 1, i) = A(i, i - 1) = 1.0L + i;
    }
    int steps = 0;
    for (;; ++steps) {
        TExtMatrix B = A;
        bool Ok = true;
        try {
            QLEigen(B, Ok, steps);
            break;
        } catch (const NumericalFailure &) {
            EXPECT_FALSE(Ok);
        }
        ASSERT_LT(steps, 200);
    }
    EXPECT_GT(steps, 1); // several blocks, each needing steps of its own
    TExtMatrix B = A;
    bool Ok = false;
    QLEigen(B, Ok);
    TExtMatrix C = A;
    QLEigen(C, Ok, steps);
    EXPECT_EQ(B, C); // the program's limit is far from reached
}

TEST(QLEigen, NegativeDiscriminantFromRoundingIsTakenAsZero)
{
    // a + d = 2 + 2^-63 rounds to 2, while 4 (a d - b c) rounds to 4 + 2^-61:
    // the discriminant comes out as -2^-61 instead of about 4e-28.
    const long double d = 1.0L + std::ldexp(1.0L, -63);
    const long double b = 2e-14L;
    ASSERT_LT((1.0L + d) * (1.0L + d) - 4 * (1.0L * d - b * b), 0.0L);

    TExtMatrix A = MakeMatrix({ { 1, b }, { b, d } });
    bool Ok = false;
    QLEigen(A, Ok);
    EXPECT_TRUE(Ok);
    EXPECT_EQ(1, A(1, 1));
    EXPECT_EQ(1, A(2, 2));

    // The same top block as the shift of a QL3 step.
    TExtMatrix B = MakeMatrix({ { 1, b, 0 }, { b, d, 0.5L }, { 0, 0.5L, 3 } });
    QLEigen(B, Ok);
    EXPECT_TRUE(Ok);
    ExpectSymmetricFunctions(
        B, 3, 1 + d + 3, 1 + d * d + 9 + 2 * b * b + 0.5L, 3 * d - 0.25L - 3 * b * b, 1e-17L);
}
