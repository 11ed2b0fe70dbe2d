// The big-table method against the exact engine on tables both can take, and
// its edges: the exact total inertia, rank-deficient tables, empty lines.
#include "analysis/LargeTable.h"
#include "MatrixHelpers.h"
#include "analysis/DualScaling.h"
#include "analysis/Errors.h"
#include "analysis/TableAnalysis.h"
#include "tests/ExpectError.h"
#include "tests/SmokingTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

ResultStore Exact(const TIntMatrix &table, int m, int n, int K)
{
    ResultStore store;
    AnalyseTable(table, m, n, K, store);
    return store;
}

ResultStore Large(const TIntMatrix &table, int m, int n, int K, LargeMethod method)
{
    ResultStore store;
    store.NRow = m;
    store.NCol = n;
    store.NDim = K;
    const LargeDecomposition large = DecomposeLarge(SparseCountsOf(table, m, n), K, store, method);
    EXPECT_EQ(large.method, method);
    store.Method = LargeMethodName(large.method);
    store.TotalInertia = large.totalInertia;
    LimitDimensions(store);
    ComputeScaleValues(ComputeTotals(table, m, n), store);
    ComputeWeightedScaleValues(store);
    return store;
}

// Column d of `got` against `want`, both scaled by want's largest magnitude,
// one sign for the whole column.
long double ColumnError(const TExtMatrix &got, const TExtMatrix &want, int d)
{
    long double largest = 0, same = 0, flipped = 0;
    for (int k = 1; k <= want.rows(); ++k) {
        largest = std::max(largest, std::fabs(want(k, d)));
        same = std::max(same, std::fabs(got(k, d) - want(k, d)));
        flipped = std::max(flipped, std::fabs(got(k, d) + want(k, d)));
    }
    return std::min(same, flipped) / largest;
}

void ExpectAgreement(const std::string &name, const TIntMatrix &table, int m, int n, int K)
{
    const ResultStore exact = Exact(table, m, n, K);
    for (const LargeMethod method : { LargeMethod::Lanczos, LargeMethod::DenseGram }) {
        SCOPED_TRACE(name + " " + LargeMethodName(method));
        const ResultStore large = Large(table, m, n, K, method);
        ASSERT_EQ(large.NDim, exact.NDim);
        ASSERT_GE(large.NSol, large.NDim);
        long double all = 0;
        for (int d = 1; d <= exact.NSol; ++d)
            all += exact.Eta(d) * exact.Eta(d);
        EXPECT_NEAR(large.TotalInertia, all, 1e-15L * all);
        for (int d = 1; d <= exact.NDim; ++d) {
            EXPECT_NEAR(large.Eta(d), exact.Eta(d), 1e-10L * exact.Eta(d)) << "dim " << d;
            EXPECT_LE(ColumnError(large.RowScale, exact.RowScale, d), 1e-10L) << "dim " << d;
            EXPECT_LE(ColumnError(large.ColScale, exact.ColScale, d), 1e-10L) << "dim " << d;
        }
        const EtaShares exactShares = SquaredCorrelationRatios(exact);
        const EtaShares largeShares = SquaredCorrelationRatios(large);
        for (int d = 1; d <= exact.NDim; ++d)
            EXPECT_NEAR(largeShares.CumShare(d), exactShares.CumShare(d), 1e-9L);
    }
}

} // namespace

TEST(LargeTable, ForcedOnSmallTablesAgreesWithTheExactEngine)
{
    ExpectAgreement("smoking", SmokingTable(), 5, 4, 3);
    ExpectAgreement("caithness",
        MakeTable({ { 326, 38, 241, 110, 3 }, { 688, 116, 584, 188, 4 }, { 343, 84, 909, 412, 26 },
            { 98, 48, 403, 681, 85 } }),
        4, 5, 3);
    ExpectAgreement("random 30x30", RandomTable(30, 30, 30, 100), 30, 30, 5);
    ExpectAgreement("random 50x17, every solution", RandomTable(5017, 50, 17, 40), 50, 17, 16);
    ExpectAgreement("random 3x50", RandomTable(350, 3, 50, 9), 3, 50, 2);
    ExpectAgreement("random 50x50", RandomTable(50, 50, 50, 1000), 50, 50, 4);
}

TEST(LargeTable, RankDeficientTablesKeepOnlyTheRealSolutions)
{
    // Rows 2k copy rows 2k - 1: 6 distinct profiles over 9 columns, 5 solutions.
    TIntMatrix table = RandomTable(11, 12, 9, 300);
    for (int i = 2; i <= 12; i += 2)
        for (int j = 1; j <= 9; ++j)
            table(i, j) = table(i - 1, j);
    const ResultStore exact = Exact(table, 12, 9, 8);
    ASSERT_EQ(exact.NSol, 5);
    for (const LargeMethod method : { LargeMethod::Lanczos, LargeMethod::DenseGram }) {
        const ResultStore large = Large(table, 12, 9, 8, method);
        EXPECT_EQ(large.NSol, 5) << LargeMethodName(method);
        EXPECT_EQ(large.NDim, 5) << LargeMethodName(method);
    }
}

TEST(LargeTable, ChoosesTheSolverBySizeAndComputesOnlyTheDimensionsAsked)
{
    // 60 x 450: the smaller side passes the dense limit only on the columns' side.
    const TIntMatrix wide = RandomTable(7, 60, 450, 20);
    ResultStore store;
    EXPECT_EQ(
        DecomposeLarge(SparseCountsOf(wide, 60, 450), 3, store).method, LargeMethod::DenseGram);
    EXPECT_EQ(store.NSol, 3);
    EXPECT_EQ(store.RowSingVec.cols(), 3);
    EXPECT_EQ(store.ColSingVec.rows(), 450);
    const TIntMatrix big = RandomTable(8, 600, 450, 20);
    EXPECT_EQ(DecomposeLarge(SparseCountsOf(big, 600, 450), 2, store).method, LargeMethod::Lanczos);
    EXPECT_EQ(store.NSol, 2);
    // Every solution of a side of 450 asked: the dense solver takes it.
    EXPECT_EQ(
        DecomposeLarge(SparseCountsOf(big, 600, 450), 449, store).method, LargeMethod::DenseGram);
    EXPECT_EQ(store.NSol, 449);
}

TEST(LargeTable, EmptyLinesAndEmptyTablesFailLikeTheExactEngine)
{
    TIntMatrix table = RandomTable(3, 70, 6, 9);
    for (int j = 1; j <= 6; ++j)
        table(41, j) = 0;
    ResultStore store;
    ExpectError<FloatError>("不正な浮動小数点数演算命令",
        [&] { DecomposeLarge(SparseCountsOf(table, 70, 6), 2, store); });
    ExpectError<FloatError>("不正な浮動小数点数演算命令",
        [&] { DecomposeLarge(SparseCountsOf(TIntMatrix(60, 3), 60, 3), 2, store); });
}

TEST(LargeTable, TheMemoryEstimateGrowsWithTheTableAndCountsDenseCopiesOnlyWhenHeld)
{
    EXPECT_LT(LargeTableMemoryEstimate(5000, 1000, 5000000, 5, true), AnalysisMemoryLimit);
    EXPECT_GT(LargeTableMemoryEstimate(20000, 50000, 2000000, 5, true), AnalysisMemoryLimit);
    EXPECT_LT(LargeTableMemoryEstimate(20000, 50000, 2000000, 5, false), AnalysisMemoryLimit / 2);
}
