#include "analysis/DualScaling.h"
#include "MatrixHelpers.h"
#include "analysis/Errors.h"
#include "analysis/TableAnalysis.h"
#include "tests/ExpectError.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <string>

namespace {

constexpr long double eps = LDBL_EPSILON;
constexpr long double seven = 5e-8L; // agreement to seven places

const TIntMatrix workedTable = MakeTable({ { 10, 20 }, { 30, 5 } });

// sum over i of RowTotal(i) * RowScale(i, d) * RowScale(i, e), and the same
// for the columns.
long double RowWeightedProduct(const Totals &t, const ResultStore &s, int d, int e)
{
    long double sum = 0;
    for (int i = 1; i <= s.NRow; ++i)
        sum += t.RowTotal(i) * s.RowScale(i, d) * s.RowScale(i, e);
    return sum;
}
long double ColWeightedProduct(const Totals &t, const ResultStore &s, int d, int e)
{
    long double sum = 0;
    for (int j = 1; j <= s.NCol; ++j)
        sum += t.ColTotal(j) * s.ColScale(j, d) * s.ColScale(j, e);
    return sum;
}
long double RowWeightedSum(const Totals &t, const ResultStore &s, int d)
{
    long double sum = 0;
    for (int i = 1; i <= s.NRow; ++i)
        sum += t.RowTotal(i) * s.RowScale(i, d);
    return sum;
}
long double ColWeightedSum(const Totals &t, const ResultStore &s, int d)
{
    long double sum = 0;
    for (int j = 1; j <= s.NCol; ++j)
        sum += t.ColTotal(j) * s.ColScale(j, d);
    return sum;
}

} // namespace

TEST(DualScaling, WorkedExampleTwoByTwo)
{
    const Totals t = ComputeTotals(workedTable, 2, 2);
    EXPECT_EQ(65, t.GrandTotal);
    EXPECT_EQ(30, t.RowTotal(1));
    EXPECT_EQ(35, t.RowTotal(2));
    EXPECT_EQ(40, t.ColTotal(1));
    EXPECT_EQ(25, t.ColTotal(2));
    // 10 - 1200/65 and so on: all are plus or minus 550/65.
    EXPECT_EQ(10 - 1200.0L / 65, Association(workedTable, t, 1, 1));
    EXPECT_NEAR(-8.4615385L, Association(workedTable, t, 1, 1), seven);
    EXPECT_NEAR(8.4615385L, Association(workedTable, t, 1, 2), seven);
    EXPECT_NEAR(8.4615385L, Association(workedTable, t, 2, 1), seven);
    EXPECT_NEAR(-8.4615385L, Association(workedTable, t, 2, 2), seven);

    ResultStore store;
    const TableAnalysis run = AnalyseTable(workedTable, 2, 2, 2, store);
    EXPECT_NEAR(33.846154L, run.AssocSum, 5e-7L);
    EXPECT_TRUE(run.Associated);
    EXPECT_EQ(65, store.GrandTotal);
    ASSERT_EQ(1, store.NSol);
    EXPECT_TRUE(run.NDimLowered);
    EXPECT_EQ(1, store.NDim);
    EXPECT_NEAR(0.5367450L, store.Eta(1), seven);
    EXPECT_NEAR(0.2880952L, run.Shares.EtaSq(1), seven);
    // Squared phi coefficient: (10*5 - 20*30)^2 / (30*35*40*25).
    EXPECT_NEAR(302500.0L / 1050000, run.Shares.EtaSq(1), 8 * eps);
    EXPECT_EQ(100, run.Shares.Share(1));
    EXPECT_EQ(100, run.Shares.CumShare(1));
    EXPECT_NEAR(1.0801234L, store.RowScale(1, 1), seven);
    EXPECT_NEAR(-0.9258201L, store.RowScale(2, 1), seven);
    EXPECT_NEAR(-0.7905694L, store.ColScale(1, 1), seven);
    EXPECT_NEAR(1.2649111L, store.ColScale(2, 1), seven);
    EXPECT_NEAR(0.5797509L, store.RowWeightedScale(1, 1), seven);
    EXPECT_NEAR(-0.4969293L, store.RowWeightedScale(2, 1), seven);
    EXPECT_NEAR(-0.4243342L, store.ColWeightedScale(1, 1), seven);
    EXPECT_NEAR(0.6789347L, store.ColWeightedScale(2, 1), seven);
    EXPECT_EQ(store.StdResidual, store.SVDInput);
    for (int i = 1; i <= 2; ++i)
        EXPECT_EQ(store.Eta(1) * store.RowScale(i, 1), store.RowWeightedScale(i, 1));
}

TEST(DualScaling, ProportionalRowsShowNoAssociationAndKeepTheStore)
{
    ResultStore store;
    AnalyseTable(workedTable, 2, 2, 2, store);
    const ResultStore before = store;

    const TableAnalysis proportional
        = AnalyseTable(MakeTable({ { 1, 2, 3 }, { 2, 4, 6 } }), 2, 3, 3, store);
    EXPECT_FALSE(proportional.Associated);
    EXPECT_LT(proportional.AssocSum, IndependenceLimit);
    const TableAnalysis identical = AnalyseTable(MakeTable({ { 4, 7 }, { 4, 7 } }), 2, 2, 3, store);
    EXPECT_FALSE(identical.Associated);
    EXPECT_EQ(0, identical.AssocSum);
    const TableAnalysis single = AnalyseTable(MakeTable({ { 3, 1, 4, 1, 5 } }), 1, 5, 2, store);
    EXPECT_FALSE(single.Associated);
    EXPECT_EQ(0, single.AssocSum);
    // Sizes and N follow the run; the computed results are the earlier ones.
    EXPECT_EQ(1, store.NRow);
    EXPECT_EQ(5, store.NCol);
    EXPECT_EQ(14, store.GrandTotal);
    EXPECT_EQ(before.Eta, store.Eta);
    EXPECT_EQ(before.NSol, store.NSol);
    EXPECT_EQ(before.RowScale, store.RowScale);
    EXPECT_EQ(before.ColWeightedScale, store.ColWeightedScale);
    EXPECT_EQ(before.StdResidual, store.StdResidual);
}

TEST(DualScaling, IndependenceLimitIsTheNearestExtendedValue)
{
    EXPECT_EQ(1e-5L, IndependenceLimit);
    EXPECT_NE(static_cast<long double>(1e-5), IndependenceLimit);
}

TEST(DualScaling, DiagonalTableHasEqualSolutionsWithOrthogonalScales)
{
    for (int k : { 2, 3, 5, 12 }) {
        TIntMatrix table(k, k);
        for (int i = 1; i <= k; ++i)
            table(i, i) = 7;
        ResultStore store;
        const TableAnalysis run = AnalyseTable(table, k, k, k, store);
        const Totals t = ComputeTotals(table, k, k);
        ASSERT_EQ(k - 1, store.NSol) << k;
        EXPECT_EQ(k - 1, store.NDim);
        for (int d = 1; d <= k - 1; ++d) {
            EXPECT_NEAR(1, run.Shares.EtaSq(d), 64 * eps) << k;
            EXPECT_NEAR(100.0L / (k - 1), run.Shares.Share(d), 1e4L * eps);
            for (int e = 1; e <= k - 1; ++e) {
                const long double expected = d == e ? 7 * k : 0;
                EXPECT_NEAR(expected, RowWeightedProduct(t, store, d, e), 1e3L * k * eps);
                EXPECT_NEAR(expected, ColWeightedProduct(t, store, d, e), 1e3L * k * eps);
            }
        }
        EXPECT_NEAR(100, run.Shares.CumShare(k - 1), 1e3L * eps);
    }
}

TEST(DualScaling, GeneralPositionGivesOneSolutionLessThanTheSmallerSide)
{
    const struct {
        int rows, cols;
    } shapes[] = { { 3, 3 }, { 4, 7 }, { 9, 5 }, { 2, 6 } };
    for (auto [rows, cols] : shapes) {
        const TIntMatrix table = RandomTable(rows * 100 + cols, rows, cols, 50);
        ResultStore store;
        AnalyseTable(table, rows, cols, 2, store);
        EXPECT_EQ(std::min(rows, cols) - 1, store.NSol) << rows << "x" << cols;
        for (int d = 2; d <= store.NSol; ++d)
            EXPECT_GE(store.Eta(d - 1), store.Eta(d));
    }
}

TEST(DualScaling, ScaleValuesHaveWeightedMeanZeroAndWeightedSquaresN)
{
    const TIntMatrix table = RandomTable(2024, 6, 8, 30);
    ResultStore store;
    AnalyseTable(table, 6, 8, 5, store);
    const Totals t = ComputeTotals(table, 6, 8);
    ASSERT_EQ(5, store.NDim);
    const long double N = t.GrandTotal;
    for (int d = 1; d <= store.NDim; ++d) {
        const long double tolerance
            = 64 * 8 * eps * N * store.Eta(1) * store.Eta(1) / (store.Eta(d) * store.Eta(d));
        EXPECT_NEAR(0, RowWeightedSum(t, store, d), tolerance) << d;
        EXPECT_NEAR(0, ColWeightedSum(t, store, d), tolerance) << d;
        EXPECT_NEAR(N, RowWeightedProduct(t, store, d, d), tolerance) << d;
        EXPECT_NEAR(N, ColWeightedProduct(t, store, d, d), tolerance) << d;
        long double weighted = 0;
        for (int i = 1; i <= 6; ++i)
            weighted += t.RowTotal(i) * store.RowWeightedScale(i, d) * store.RowWeightedScale(i, d);
        EXPECT_NEAR(N * store.Eta(d) * store.Eta(d), weighted, tolerance);
    }
}

TEST(DualScaling, NDimIsLoweredToNSolButNeverRaised)
{
    const TIntMatrix table = RandomTable(7, 4, 5, 20);
    ResultStore store;
    TableAnalysis run = AnalyseTable(table, 4, 5, 9, store);
    EXPECT_TRUE(run.NDimLowered);
    EXPECT_EQ(3, store.NDim);
    run = AnalyseTable(table, 4, 5, 2, store);
    EXPECT_FALSE(run.NDimLowered);
    EXPECT_EQ(2, store.NDim);
    run = AnalyseTable(table, 4, 5, 3, store);
    EXPECT_FALSE(run.NDimLowered);
    EXPECT_EQ(3, store.NDim);
}

TEST(DualScaling, NonPositiveNDimComputesNoVectorsAndNoScaleValues)
{
    const TIntMatrix table = RandomTable(8, 3, 3, 20);
    ResultStore all;
    AnalyseTable(table, 3, 3, 3, all);
    for (int NDim : { 0, -4 }) {
        ResultStore store;
        const TableAnalysis run = AnalyseTable(table, 3, 3, NDim, store);
        EXPECT_FALSE(run.NDimLowered);
        EXPECT_EQ(NDim, store.NDim);
        EXPECT_EQ(2, store.NSol);
        EXPECT_EQ(all.Eta, store.Eta); // every solution is still found
        for (const TExtMatrix *m : { &store.RowSingVec, &store.ColSingVec, &store.RowScale,
                 &store.ColScale, &store.RowWeightedScale, &store.ColWeightedScale }) {
            EXPECT_EQ(3, m->rows());
            EXPECT_EQ(0, m->cols());
        }
    }
}

TEST(DualScaling, TransposedTableGivesTheSameSolutionsWithSidesExchanged)
{
    const TIntMatrix table = RandomTable(99, 5, 7, 40);
    TIntMatrix transposed(7, 5);
    for (int i = 1; i <= 5; ++i)
        for (int j = 1; j <= 7; ++j)
            transposed(j, i) = table(i, j);
    ResultStore a, b;
    AnalyseTable(table, 5, 7, 4, a);
    AnalyseTable(transposed, 7, 5, 4, b);
    ASSERT_EQ(a.NSol, b.NSol);
    for (int d = 1; d <= a.NSol; ++d) {
        EXPECT_NEAR(a.Eta(d), b.Eta(d), 64 * eps) << d;
        const long double sign = a.RowScale(1, d) * b.ColScale(1, d) < 0 ? -1 : 1;
        const long double tolerance = 1e4L * eps * a.Eta(1) * a.Eta(1) / (a.Eta(d) * a.Eta(d));
        for (int i = 1; i <= 5; ++i)
            EXPECT_NEAR(a.RowScale(i, d), sign * b.ColScale(i, d), tolerance);
        for (int j = 1; j <= 7; ++j)
            EXPECT_NEAR(a.ColWeightedScale(j, d), sign * b.RowWeightedScale(j, d), tolerance);
    }
}

TEST(DualScaling, EmptyRowOrColumnWithAssociationIsAnInvalidOperation)
{
    ResultStore store;
    ExpectError<FloatError>("不正な浮動小数点数演算命令", [&] {
        AnalyseTable(MakeTable({ { 10, 20 }, { 0, 0 }, { 30, 5 } }), 3, 2, 2, store);
    });
    ExpectError<FloatError>("不正な浮動小数点数演算命令", [&] {
        AnalyseTable(MakeTable({ { 10, 0, 20 }, { 30, 0, 5 } }), 2, 3, 2, store);
    });
}

TEST(DualScaling, ZeroGrandTotalIsAnInvalidOperationAtTheFirstAssociation)
{
    const TIntMatrix zero = MakeTable({ { 0, 0 }, { 0, 0 } });
    const Totals t = ComputeTotals(zero, 2, 2);
    EXPECT_EQ(0, t.GrandTotal);
    ExpectError<FloatError>("不正な浮動小数点数演算命令", [&] { Association(zero, t, 1, 1); });
    // Negative counts can make N = 0 with non-zero totals: x / 0.
    const TIntMatrix cancelling = MakeTable({ { 5, -5 }, { 1, -1 } });
    const Totals c = ComputeTotals(cancelling, 2, 2);
    EXPECT_EQ(0, c.GrandTotal);
    ExpectError<FloatError>(
        "不正な浮動小数点数演算命令", [&] { Association(cancelling, c, 1, 1); });
}

TEST(DualScaling, NegativeProductOfTotalsFailsAtTheSquareRoot)
{
    ResultStore store;
    ExpectError<FloatError>("不正な浮動小数点数演算命令", [&] {
        AnalyseTable(MakeTable({ { -10, 2 }, { 3, 20 } }), 2, 2, 1, store);
    });
}

TEST(DualScaling, TotalsAndTheirProductsBeyondThirtyTwoBitsAreExact)
{
    const Totals row = ComputeTotals(MakeTable({ { INT_MAX, 1 } }), 1, 2);
    EXPECT_EQ(std::int64_t{ INT_MAX } + 1, row.RowTotal(1));
    EXPECT_EQ(std::int64_t{ INT_MAX } + 1, row.GrandTotal);
    const Totals column = ComputeTotals(MakeTable({ { INT_MIN, 0 }, { -1, 1 } }), 2, 2);
    EXPECT_EQ(std::int64_t{ INT_MIN } - 1, column.ColTotal(1));
    // 50000 x 50000 passes 2^31; the expected count is exact.
    const TIntMatrix table = MakeTable({ { 50000, 0 }, { 0, 50000 } });
    EXPECT_EQ(25000.0L, Association(table, ComputeTotals(table, 2, 2), 1, 1));
    // Row total 2^31 + 2^31, column total about 2^32: a product beyond 2^63
    // still comes out exact in the 64-bit mantissa.
    const TIntMatrix huge = MakeTable({ { INT_MAX, INT_MAX }, { INT_MAX, INT_MAX } });
    const Totals h = ComputeTotals(huge, 2, 2);
    const long double total = 2.0L * INT_MAX;
    EXPECT_EQ(total * total, TotalProduct(h, 1, 2));
}

TEST(DualScaling, AGrandTotalBeyondTwoToThe53IsRefused)
{
    // 2049 x 2048 counts of 2^31 - 1 pass 2^53 by about 2^42.
    TIntMatrix table(2049, 2048);
    for (int i = 1; i <= 2049; ++i)
        for (int j = 1; j <= 2048; ++j)
            table(i, j) = INT_MAX;
    ExpectError<TableLimitError>("度数の合計が 2^53 (9007199254740992) を超えます",
        [&] { ComputeTotals(table, 2049, 2048); });
}

TEST(DualScaling, ATableWithoutRowsOrColumnsOrLargerThanItsCountsIsRefused)
{
    const TIntMatrix table = MakeTable({ { 1 } });
    for (auto [rows, cols] : { std::pair{ 0, 3 }, { 3, 0 }, { -1, -1 } })
        ExpectError<TableLimitError>(
            "表には 1 行 1 列以上が必要です", [&] { ComputeTotals(table, rows, cols); });
    ExpectError<TableLimitError>(
        "表の大きさが度数の表を超えます", [&] { ComputeTotals(table, 1, 2); });
}
