#include "MatrixHelpers.h"
#include "analysis/Errors.h"
#include "analysis/SVD.h"
#include "analysis/SymEigenSeam.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

constexpr long double eps = LDBL_EPSILON;

long double ColumnDot(const TExtMatrix &X, int n, int a, int b)
{
    long double sum = 0;
    for (int i = 1; i <= n; ++i)
        sum += X(i, a) * X(i, b);
    return sum;
}

} // namespace

TEST(SymEigen, WorkedExampleTwoByTwo)
{
    TExtMatrix A = MakeMatrix({ { 3, 1 }, { 1, 1 } });
    int Count = -1;
    TExtVector Lambda;
    TExtMatrix X;
    SymEigen(A, Count, Lambda, X);
    EXPECT_EQ(2, Count);
    EXPECT_NEAR(2 + std::sqrt(2.0L), Lambda(1), 4 * eps);
    EXPECT_NEAR(2 - std::sqrt(2.0L), Lambda(2), 4 * eps);
    EXPECT_NEAR(3.4142136L, Lambda(1), 5e-8L);
    EXPECT_NEAR(0.5857864L, Lambda(2), 5e-8L);
    EXPECT_NEAR(0.9238795L, X(1, 1), 5e-8L);
    EXPECT_NEAR(0.3826834L, X(2, 1), 5e-8L);
    EXPECT_NEAR(-0.3826834L, X(1, 2), 5e-8L);
    EXPECT_NEAR(0.9238795L, X(2, 2), 5e-8L);
    EXPECT_EQ(MakeMatrix({ { 3, 1 }, { 1, 1 } }), A); // no deflation: A unchanged
}

TEST(SymEigen, NegligibleMatrixLeavesEveryOutputUntouched)
{
    TExtMatrix A = MakeMatrix({ { 9e-11L, -9e-11L }, { -9e-11L, 5e-11L } });
    int Count = -1;
    TExtVector Lambda(1);
    Lambda(1) = 42;
    TExtMatrix X(1, 1);
    X(1, 1) = 42;
    SymEigen(A, Count, Lambda, X);
    EXPECT_EQ(0, Count);
    ASSERT_EQ(1, Lambda.size());
    EXPECT_EQ(42, Lambda(1));
    ASSERT_EQ(1, X.rows());
    ASSERT_EQ(1, X.cols());
    EXPECT_EQ(42, X(1, 1));
}

TEST(SymEigen, OrderOneHasItsVectorOnlyWhenAskedFor)
{
    TExtMatrix A = MakeMatrix({ { -2.5L } });
    int Count = -1;
    TExtVector Lambda;
    TExtMatrix X;
    SymEigen(A, Count, Lambda, X);
    EXPECT_EQ(1, Count);
    EXPECT_EQ(-2.5L, Lambda(1));
    EXPECT_EQ(MakeMatrix({ { 1 } }), X);

    Count = -1;
    SymEigen(A, Count, Lambda, X, 0);
    EXPECT_EQ(1, Count);
    EXPECT_EQ(-2.5L, Lambda(1));
    EXPECT_EQ(1, X.rows());
    EXPECT_EQ(0, X.cols());
}

TEST(SymEigen, EqualMagnitudesKeepTheOrderOfTheSelectionSort)
{
    // Diagonal (2, -2, 3): the 3 is exchanged with the first 2, and -2 then
    // stays before 2, which a stable sort would not give.
    TExtMatrix A = MakeMatrix({ { 2, 0, 0 }, { 0, -2, 0 }, { 0, 0, 3 } });
    int Count = -1;
    TExtVector Lambda;
    TExtMatrix X;
    SymEigen(A, Count, Lambda, X);
    ASSERT_EQ(3, Count);
    EXPECT_EQ(3, Lambda(1));
    EXPECT_EQ(-2, Lambda(2));
    EXPECT_EQ(2, Lambda(3));
    EXPECT_EQ(MakeMatrix({ { 0, 0, 1 }, { 0, 1, 0 }, { 1, 0, 0 } }), X);
}

TEST(SymEigen, NegativeEigenvalueIsKeptAndPlacedByMagnitude)
{
    TExtMatrix A = MakeMatrix({ { 1, 2 }, { 2, -2 } }); // eigenvalues 2 and -3
    int Count = -1;
    TExtVector Lambda;
    TExtMatrix X;
    SymEigen(A, Count, Lambda, X);
    ASSERT_EQ(2, Count);
    EXPECT_NEAR(-3, Lambda(1), 4 * eps);
    EXPECT_NEAR(2, Lambda(2), 4 * eps);
}

TEST(SymEigen, SmallEigenvaluesAreDroppedAndZeroedInLambda)
{
    // Rank 1: eigenvalues 14, 0, 0.
    TExtMatrix A = MakeMatrix({ { 1, 2, 3 }, { 2, 4, 6 }, { 3, 6, 9 } });
    int Count = -1;
    TExtVector Lambda(3);
    Lambda(2) = Lambda(3) = 42;
    TExtMatrix X;
    SymEigen(A, Count, Lambda, X);
    ASSERT_EQ(1, Count);
    ASSERT_EQ(3, Lambda.size());
    EXPECT_NEAR(14, Lambda(1), 64 * eps);
    EXPECT_EQ(0, Lambda(2));
    EXPECT_EQ(0, Lambda(3));
    ASSERT_EQ(3, X.rows());
    ASSERT_EQ(1, X.cols());
    EXPECT_NEAR(3 / std::sqrt(14.0L), X(3, 1), 8 * eps);
}

// Fewer vectors leave every eigenvalue and the vectors computed as they are,
// with and without deflation; only the deflation of A stops earlier.
TEST(SymEigen, VectorCountLimitsOnlyTheVectors)
{
    const TExtMatrix distinct = MakeMatrix({ { 4, 1, -2 }, { 1, 2, 0 }, { -2, 0, 3 } });
    const TExtMatrix repeated = MakeMatrix({ { 2, 1, 1 }, { 1, 2, 1 }, { 1, 1, 2 } });
    for (const bool deflated : { false, true }) {
        const TExtMatrix &original = deflated ? repeated : distinct;
        TExtMatrix all = original;
        int allCount = -1;
        TExtVector allLambda;
        TExtMatrix allX;
        SymEigen(all, allCount, allLambda, allX);
        ASSERT_EQ(3, allCount);
        for (int wanted : { 0, 1, 2, 3, 7 }) {
            TExtMatrix A = original;
            int Count = -1;
            TExtVector Lambda;
            TExtMatrix X;
            SymEigen(A, Count, Lambda, X, wanted);
            EXPECT_EQ(3, Count) << wanted;
            EXPECT_EQ(allLambda, Lambda) << wanted;
            const int vectors = std::min(wanted, 3);
            ASSERT_EQ(3, X.rows());
            ASSERT_EQ(vectors, X.cols()) << wanted;
            for (int k = 1; k <= vectors; ++k)
                for (int i = 1; i <= 3; ++i)
                    EXPECT_EQ(allX(i, k), X(i, k)) << wanted << " " << i << k;
            // Deflation removes exactly the pairs found.
            EXPECT_EQ(deflated && vectors > 0, A != original) << wanted;
            if (deflated && vectors < 3) {
                EXPECT_NE(all, A) << wanted;
            }
        }
    }
}

TEST(SymEigen, RepeatedEigenvalueDeflatesToOrthogonalVectors)
{
    // Eigenvalues 4, 1, 1: the vectors of the pair must be orthogonal.
    TExtMatrix A = MakeMatrix({ { 2, 1, 1 }, { 1, 2, 1 }, { 1, 1, 2 } });
    const TExtMatrix original = A;
    int Count = -1;
    TExtVector Lambda;
    TExtMatrix X;
    SymEigen(A, Count, Lambda, X);
    ASSERT_EQ(3, Count);
    EXPECT_NEAR(4, Lambda(1), 16 * eps);
    EXPECT_NEAR(1, Lambda(2), 16 * eps);
    EXPECT_NEAR(1, Lambda(3), 16 * eps);
    for (int a = 1; a <= 3; ++a)
        for (int b = 1; b <= 3; ++b)
            EXPECT_NEAR(a == b ? 1 : 0, ColumnDot(X, 3, a, b), 32 * eps) << a << b;
    for (int k = 1; k <= 3; ++k)
        for (int i = 1; i <= 3; ++i) {
            long double sum = 0;
            for (int j = 1; j <= 3; ++j)
                sum += original(i, j) * X(j, k);
            EXPECT_NEAR(Lambda(k) * X(i, k), sum, 64 * eps);
        }
    EXPECT_NE(original, A); // deflation changed the caller's matrix
    EXPECT_NEAR(0, A(1, 1), 64 * eps); // all three pairs removed
}

TEST(SymEigen, QLFailureRaisesTheFatalMessage)
{
    TExtMatrix A = MakeMatrix({ { 3, 1 }, { 1, 1 } });
    int Count = -1;
    TExtVector Lambda;
    TExtMatrix X;
    const QLEigenStage failing = [](TExtMatrix &, bool &Ok) { Ok = false; };
    try {
        SymEigenWith(failing, A, Count, Lambda, X);
        FAIL() << "no NumericalFailure";
    } catch (const NumericalFailure &e) {
        EXPECT_STREQ("QL failed", e.what());
    }
}

TEST(SymEigen, InaccurateEigenvalueRaisesTheAccuracyMessage)
{
    TExtMatrix A = MakeMatrix({ { 3, 1 }, { 1, 1 } });
    int Count = -1;
    TExtVector Lambda;
    TExtMatrix X;
    // 3.4 and 0.6 are off by far more than the null vector's tolerance.
    const QLEigenStage rough = [](TExtMatrix &W, bool &Ok) {
        W(1, 1) = 3.4L;
        W(2, 2) = 0.6L;
        Ok = true;
    };
    try {
        SymEigenWith(rough, A, Count, Lambda, X);
        FAIL() << "no NumericalFailure";
    } catch (const NumericalFailure &e) {
        EXPECT_STREQ("calculation accuracy error occurred.", e.what());
    }
}

TEST(SymEigen, MatrixThatIsNotSymmetricFailsTheAccuracyCheck)
{
    // The solver reads both triangles as if they were one: for this rotation
    // matrix it finds the double value 1 (from a discriminant of -4, taken as
    // 0), and A - I = ((0, 1), (-1, 0)) is regular.
    TExtMatrix A = MakeMatrix({ { 1, 1 }, { -1, 1 } });
    int Count = -1;
    TExtVector Lambda;
    TExtMatrix X;
    try {
        SymEigen(A, Count, Lambda, X);
        FAIL() << "no NumericalFailure";
    } catch (const NumericalFailure &e) {
        EXPECT_STREQ("calculation accuracy error occurred.", e.what());
    }
}

TEST(SVD, OneRowMatrix)
{
    const TExtMatrix A = MakeMatrix({ { 3, -4, 0 } });
    TExtMatrix U, V;
    TExtVector S;
    int r = -1;
    SVD(A, U, S, r, V);
    ASSERT_EQ(1, r);
    EXPECT_EQ(1, U(1, 1));
    EXPECT_EQ(5, S(1));
    EXPECT_EQ(3.0L / 5, V(1, 1));
    EXPECT_EQ(-4.0L / 5, V(2, 1));
    EXPECT_EQ(0, V(3, 1));
}

TEST(SVD, ZeroMatrixLeavesOutputsUntouched)
{
    TExtMatrix A(3, 2);
    A(2, 2) = 1e-6L; // squared: 1e-12, below the zero limit
    TExtMatrix U(1, 1), V(1, 1);
    U(1, 1) = V(1, 1) = 42;
    TExtVector S(1);
    S(1) = 42;
    int r = -1;
    SVD(A, U, S, r, V);
    EXPECT_EQ(0, r);
    EXPECT_EQ(42, U(1, 1));
    EXPECT_EQ(42, V(1, 1));
    EXPECT_EQ(42, S(1));
}

TEST(SVD, SignIsSetOnTheSmallerSide)
{
    // The same matrix and its transpose: the eigenvector side differs, so
    // the sign rule (free component positive) lands on different sides.
    const TExtMatrix A = MakeMatrix({ { 1, -2 }, { -3, 1 }, { 1, 1 } });
    TExtMatrix At(2, 3);
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 2; ++j)
            At(j, i) = A(i, j);
    TExtMatrix U1, V1, U2, V2;
    TExtVector S1, S2;
    int r1 = -1, r2 = -1;
    SVD(A, U1, S1, r1, V1); // tall: V from SymEigen
    SVD(At, U2, S2, r2, V2); // wide: U from SymEigen
    ASSERT_EQ(2, r1);
    ASSERT_EQ(2, r2);
    for (int d = 1; d <= 2; ++d) {
        EXPECT_NEAR(S1(d), S2(d), 16 * eps);
        // V1 and U2 are both eigenvectors of A^T A, with the same sign rule.
        for (int j = 1; j <= 2; ++j)
            EXPECT_NEAR(V1(j, d), U2(j, d), 64 * eps);
        for (int i = 1; i <= 3; ++i)
            EXPECT_NEAR(U1(i, d), V2(i, d), 64 * eps);
    }
    EXPECT_EQ(MakeMatrix({ { 1, -2 }, { -3, 1 }, { 1, 1 } }), A);
}

// Wide and tall: the side SymEigen finds and the side derived from it both
// keep their bits when fewer vectors are asked for, and every S is there.
TEST(SVD, VectorCountLimitsOnlyTheVectors)
{
    const TExtMatrix wide = MakeMatrix({ { 1, -2, 4, 0 }, { -3, 1, 1, 2 }, { 1, 1, -1, 5 } });
    TExtMatrix tall(4, 3);
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 4; ++j)
            tall(j, i) = wide(i, j);
    for (const TExtMatrix &A : { wide, tall }) {
        TExtMatrix allU, allV;
        TExtVector allS;
        int allR = -1;
        SVD(A, allU, allS, allR, allV);
        ASSERT_EQ(3, allR);
        EXPECT_EQ(3, allS.size());
        for (int wanted : { 0, 1, 2 }) {
            TExtMatrix U, V;
            TExtVector S;
            int r = -1;
            SVD(A, U, S, r, V, wanted);
            EXPECT_EQ(3, r);
            EXPECT_EQ(allS, S) << wanted;
            ASSERT_EQ(A.rows(), U.rows());
            ASSERT_EQ(A.cols(), V.rows());
            ASSERT_EQ(wanted, U.cols());
            ASSERT_EQ(wanted, V.cols());
            for (int d = 1; d <= wanted; ++d) {
                for (int i = 1; i <= A.rows(); ++i)
                    EXPECT_EQ(allU(i, d), U(i, d)) << wanted << " " << i << d;
                for (int j = 1; j <= A.cols(); ++j)
                    EXPECT_EQ(allV(j, d), V(j, d)) << wanted << " " << j << d;
            }
        }
    }
}
