#include "analysis/NullVector.h"
#include "MatrixHelpers.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

namespace {

long double Residual(const TExtMatrix &W, int n, const TExtVector &x)
{
    long double worst = 0;
    for (int i = 1; i <= n; ++i) {
        long double sum = 0;
        for (int j = 1; j <= n; ++j)
            sum += W(i, j) * x(j);
        worst = std::fmax(worst, std::fabs(sum));
    }
    return worst;
}

long double Norm(const TExtVector &x, int n)
{
    long double ss = 0;
    for (int j = 1; j <= n; ++j)
        ss += x(j) * x(j);
    return std::sqrt(ss);
}

} // namespace

TEST(NullVector, WorkedExampleExchangesColumnsAndRows)
{
    const TExtMatrix W = MakeMatrix({ { 1, 2 }, { 2, 4 } });
    TExtVector x;
    int rank = -1;
    NullVector(W, x, rank);
    EXPECT_EQ(1, rank);
    // y = (-0.5, 1) / sqrt(1.25), put back through P = (2, 1).
    const long double s = 1.0L / std::sqrt(1.25L);
    EXPECT_EQ(1.0L * s, x(1));
    EXPECT_EQ(-0.5L * s, x(2));
    EXPECT_NEAR(0.8944272L, x(1), 5e-8L);
    EXPECT_NEAR(-0.4472136L, x(2), 5e-8L);
    EXPECT_EQ(MakeMatrix({ { 1, 2 }, { 2, 4 } }), W);
}

TEST(NullVector, ZeroMatrixHasRankZeroAndEqualWeights)
{
    for (int n : { 1, 3, 50 }) {
        TExtVector x;
        int rank = -1;
        NullVector(TExtMatrix(n, n), x, rank);
        EXPECT_EQ(0, rank);
        ASSERT_EQ(n, x.size());
        for (int j = 1; j <= n; ++j)
            EXPECT_EQ(1.0L / std::sqrt(static_cast<long double>(n)), x(j)) << n;
    }
}

TEST(NullVector, OrderOne)
{
    TExtVector x(1);
    x(1) = 7;
    int rank = -1;
    NullVector(MakeMatrix({ { -3 } }), x, rank);
    EXPECT_EQ(1, rank);
    EXPECT_EQ(0, x(1));
    NullVector(MakeMatrix({ { 0 } }), x, rank);
    EXPECT_EQ(0, rank);
    EXPECT_EQ(1, x(1));
}

TEST(NullVector, FullRankGivesZeroVector)
{
    TExtVector x(3);
    x(1) = x(2) = x(3) = 5;
    int rank = -1;
    NullVector(MakeMatrix({ { 2, 1, 0 }, { 1, 3, 1 }, { 0, 1, 4 } }), x, rank);
    EXPECT_EQ(3, rank);
    EXPECT_EQ(0, x(1));
    EXPECT_EQ(0, x(2));
    EXPECT_EQ(0, x(3));
}

TEST(NullVector, RankDeficientWhereverTheDependentRowIs)
{
    // Row 2 = row 1 + row 3 and column 3 = column 1 - column 2 in turn: the
    // null vector is found in either case, with its free component positive.
    const TExtMatrix byRow = MakeMatrix({ { 1, 2, 3 }, { 5, 7, 9 }, { 4, 5, 6 } });
    const TExtMatrix byCol = MakeMatrix({ { 4, 1, 3 }, { 2, 5, -3 }, { 7, 1, 6 } });
    for (const TExtMatrix &W : { byRow, byCol }) {
        TExtVector x;
        int rank = -1;
        NullVector(W, x, rank);
        EXPECT_EQ(2, rank);
        EXPECT_NEAR(1.0L, Norm(x, 3), 4 * LDBL_EPSILON);
        EXPECT_LT(Residual(W, 3, x), 32 * LDBL_EPSILON);
    }
    // In byCol the pivots are (3, 1) = 7, then (2, 2); column 3 never becomes
    // a pivot column, so its component is the free one, positive.
    TExtVector x;
    int rank = -1;
    NullVector(byCol, x, rank);
    EXPECT_GT(x(3), 0);
    EXPECT_NEAR(1.0L / std::sqrt(3.0L), x(2), 4 * LDBL_EPSILON);
    EXPECT_NEAR(-1.0L / std::sqrt(3.0L), x(1), 4 * LDBL_EPSILON);
}

TEST(NullVector, TwoDimensionalNullSpaceGivesFreeVariablesEqualWeight)
{
    // Rank 1: the pivot (1, 3) = 3 leaves columns 1 and 2 free.
    const TExtMatrix W = MakeMatrix({ { 1, 1, 3 }, { 2, 2, 6 }, { -1, -1, -3 } });
    // The 6 at (2, 3) is the largest: P = (3, 2, 1), free columns 2 and 1.
    TExtVector x;
    int rank = -1;
    NullVector(W, x, rank);
    EXPECT_EQ(1, rank);
    EXPECT_GT(x(1), 0);
    EXPECT_EQ(x(1), x(2));
    EXPECT_LT(Residual(W, 3, x), 16 * LDBL_EPSILON);
    EXPECT_NEAR(1.0L, Norm(x, 3), 4 * LDBL_EPSILON);
}

TEST(NullVector, TiesGoToTheFirstEntryInRowOrder)
{
    // Every entry has magnitude 1: (1, 1) is the pivot, no exchange; then
    // the remaining block is 0 and rank = 1 with columns 2, 3 free.
    const TExtMatrix W = MakeMatrix({ { 1, -1, 1 }, { -1, 1, -1 }, { 1, -1, 1 } });
    TExtVector x;
    int rank = -1;
    NullVector(W, x, rank);
    EXPECT_EQ(1, rank);
    // y = (0, 1, 1) / sqrt(2) in the original column order.
    EXPECT_EQ(0, x(1));
    EXPECT_EQ(1.0L / std::sqrt(2.0L), x(2));
    EXPECT_EQ(x(2), x(3));
}

TEST(NullVector, EntriesAtTheToleranceCountAsZero)
{
    // 1e-9 * 1 is the tolerance; a remaining entry equal to it is not a pivot.
    const TExtMatrix W = MakeMatrix({ { 1, 0 }, { 0, NullVectorTolerance } });
    TExtVector x;
    int rank = -1;
    NullVector(W, x, rank);
    EXPECT_EQ(1, rank);
    EXPECT_EQ(0, x(1));
    EXPECT_EQ(1, x(2));
    const TExtMatrix above = MakeMatrix({ { 1, 0 }, { 0, NullVectorTolerance * 1.0000001L } });
    NullVector(above, x, rank);
    EXPECT_EQ(2, rank);
}

TEST(SwapExt, ExchangesAllTenBytes)
{
    long double a = -1.5L, b = 1e4000L;
    SwapExt(a, b);
    EXPECT_EQ(1e4000L, a);
    EXPECT_EQ(-1.5L, b);
    long double d = std::nextafter(1.0L, 2.0L); // differs in the lowest mantissa bit
    long double one = 1.0L;
    SwapExt(d, one);
    EXPECT_EQ(1.0L, d);
    EXPECT_EQ(std::nextafter(1.0L, 2.0L), one);
}
