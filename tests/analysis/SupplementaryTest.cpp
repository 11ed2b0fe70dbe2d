#include "analysis/Supplementary.h"
#include "MatrixHelpers.h"
#include "analysis/Errors.h"
#include "analysis/Interpretation.h"
#include "analysis/TableAnalysis.h"
#include "tests/ExpectError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// The staff smoking table with the national-average row 6 (Greenacre) and a
// smokers column 5 (light + medium + heavy), both supplementary.
const TIntMatrix SmokingPlus = MakeTable({ { 4, 2, 3, 2, 7 }, { 4, 3, 7, 4, 14 },
    { 25, 10, 12, 4, 26 }, { 18, 24, 33, 13, 70 }, { 10, 6, 7, 2, 15 }, { 42, 29, 20, 9, 58 } });
const SupplementaryMarks RowSixColumnFive{ { 6 }, { 5 } };

struct PointRef {
    std::vector<long double> scale, weightedScale, cos2;
    long double distanceSq;
};

// Each dimension's sign is arbitrary: `sign` is +1 or -1 per dimension.
void ExpectPoint(const PointRef &ref, const SupplementaryPoint &got, const long double sign[2])
{
    ASSERT_TRUE(got.placed);
    ASSERT_EQ(2u, got.scale.size());
    EXPECT_NEAR(ref.distanceSq, got.distanceSq, 1e-9L);
    for (std::size_t d = 0; d < 2; ++d) {
        EXPECT_NEAR(ref.scale[d], sign[d] * got.scale[d], 1e-9L) << d;
        EXPECT_NEAR(ref.weightedScale[d], sign[d] * got.weightedScale[d], 1e-9L) << d;
        EXPECT_NEAR(ref.cos2[d], got.cos2[d], 1e-9L) << d;
    }
    EXPECT_NEAR(ref.cos2[0] + ref.cos2[1], got.quality, 1e-9L);
}

} // namespace

// Reference values: R 4.2, package ca, ca(table, suprow = 6, supcol = 5);
// standard and principal coordinates, squared distance and cos2 printed to
// 17 digits by tests/analysis/supplementary-reference.R.
TEST(Supplementary, SmokingTablePointsAgreeWithReference)
{
    const ActiveTable active = SplitTable(SmokingPlus, 6, 5, RowSixColumnFive);
    ResultStore store;
    ASSERT_TRUE(AnalyseTable(active.counts, active.NRow, active.NCol, 2, store).Associated);
    const SupplementaryStore placed
        = PlaceSupplementary(SmokingPlus, active, RowSixColumnFive, store);
    ASSERT_EQ(1u, placed.rows.size());
    ASSERT_EQ(1u, placed.cols.size());
    EXPECT_EQ(6, placed.rows[0].position);
    EXPECT_EQ(5, placed.cols[0].position);

    // ca's standard coordinates of active row 1 fix the sign of each dimension.
    const long double caRow1[2] = { -0.24053878935701722L, -1.9357079271212163L };
    const long double sign[2] = { std::copysign(1.0L, caRow1[0] * store.RowScale(1, 1)),
        std::copysign(1.0L, caRow1[1] * store.RowScale(1, 2)) };
    ExpectPoint({ { -0.94494577730702611L, 1.1754691486043309L },
                    { -0.2583681276275005L, 0.11764784733765647L },
                    { 0.63057818283320954L, 0.13074618782344216L }, 0.10586171737469882L },
        placed.rows[0], sign);
    ExpectPoint({ { 0.66474813874193783L, 0.14078943877835579L },
                    { 0.18175617699471078L, 0.014091032861063816L },
                    { 0.99402039048861468L, 0.0059745140947358054L }, 0.033234034424076547L },
        placed.cols[0], sign);
}

TEST(Supplementary, SplitLeavesTheTableWithTheMarkedCategoriesRemoved)
{
    const SupplementaryMarks marks{ { 2, 4 }, { 1 } };
    const ActiveTable active = SplitTable(SmokingPlus, 6, 5, marks);
    EXPECT_EQ(4, active.NRow);
    EXPECT_EQ(4, active.NCol);
    EXPECT_EQ((std::vector<int>{ 1, 3, 5, 6 }), active.rowPosition);
    EXPECT_EQ((std::vector<int>{ 2, 3, 4, 5 }), active.colPosition);
    EXPECT_EQ(MakeTable({ { 2, 3, 2, 7 }, { 10, 12, 4, 26 }, { 6, 7, 2, 15 }, { 29, 20, 9, 58 } }),
        active.counts);
    const ActiveTable whole = SplitTable(SmokingPlus, 6, 5, {});
    EXPECT_EQ(SmokingPlus, whole.counts);
    EXPECT_EQ(6, whole.NRow);
}

TEST(Supplementary, RefusesMarksOutsideTheTableOrLeavingTooLittle)
{
    ExpectError<SupplementaryError>(
        "補助カテゴリーに指定した行 7 は表にありません (行は 1 から 6 まで)", [] {
            SplitTable(SmokingPlus, 6, 5, { { 7 }, {} });
        });
    ExpectError<SupplementaryError>(
        "補助カテゴリーに指定した列 0 は表にありません (列は 1 から 5 まで)", [] {
            SplitTable(SmokingPlus, 6, 5, { {}, { 0 } });
        });
    ExpectError<SupplementaryError>(
        "補助カテゴリーを除くと、分析する表が 1 行 × 1 "
        "列しか残りません (1 行と 2 列、または 2 行と 1 列以上が必要です)",
        [] {
            SplitTable(SmokingPlus, 6, 5, { { 2, 3, 4, 5, 6 }, { 2, 3, 4, 5 } });
        });
    ExpectError<SupplementaryError>(
        "補助カテゴリーを除くと、分析する表が 0 行 × 5 "
        "列しか残りません (1 行と 2 列、または 2 行と 1 列以上が必要です)",
        [] {
            SplitTable(SmokingPlus, 6, 5, { { 1, 2, 3, 4, 5, 6 }, {} });
        });
    // The smallest tables allowed.
    EXPECT_EQ(2, SplitTable(SmokingPlus, 6, 5, { { 2, 3, 4, 5, 6 }, { 3, 4, 5 } }).NCol);
    EXPECT_EQ(2, SplitTable(SmokingPlus, 6, 5, { { 3, 4, 5, 6 }, { 2, 3, 4, 5 } }).NRow);
}

// A supplementary row with counts only in a supplementary column has no
// profile over the active columns; the other categories are still placed.
TEST(Supplementary, LeavesACategoryWithoutActiveCountsUnplaced)
{
    TIntMatrix table = SmokingPlus;
    for (int j = 1; j <= 4; ++j)
        table(6, j) = 0;
    const ActiveTable active = SplitTable(table, 6, 5, RowSixColumnFive);
    ResultStore store;
    AnalyseTable(active.counts, active.NRow, active.NCol, 2, store);
    const SupplementaryStore placed = PlaceSupplementary(table, active, RowSixColumnFive, store);
    EXPECT_FALSE(placed.rows[0].placed);
    EXPECT_TRUE(placed.rows[0].scale.empty());
    EXPECT_TRUE(placed.cols[0].placed);
    EXPECT_EQ(2u, placed.cols[0].scale.size());
}

// Supplementary categories go in at their table positions; the active ones
// keep every statistic of the table without them.
TEST(Supplementary, InterpretationHoldsThemAtTheirPositions)
{
    const SupplementaryMarks marks{ { 1 }, { 5 } };
    const ActiveTable active = SplitTable(SmokingPlus, 6, 5, marks);
    ResultStore store;
    const bool associated
        = AnalyseTable(active.counts, active.NRow, active.NCol, 2, store).Associated;
    SupplementaryStore placed = PlaceSupplementary(SmokingPlus, active, marks, store);
    placed.rows[0].label = "SM";
    const Interpretation plain = Interpret(active.counts, store, associated);
    const Interpretation all = WithSupplementary(plain, placed);
    ASSERT_EQ(6u, all.rows.size());
    ASSERT_EQ(5u, all.columns.size());
    EXPECT_TRUE(all.rows[0].supplementary);
    EXPECT_EQ("SM", all.rows[0].name);
    EXPECT_FALSE(all.rows[0].mass || all.rows[0].inertia || all.rows[0].contribution);
    EXPECT_EQ(placed.rows[0].weightedScale, all.rows[0].weightedScale);
    EXPECT_EQ(placed.rows[0].cos2, all.rows[0].cos2);
    EXPECT_TRUE(all.columns[4].supplementary);
    for (int k = 1; k <= 5; ++k) {
        EXPECT_FALSE(all.rows[k].supplementary);
        EXPECT_EQ(plain.rows[k - 1].mass, all.rows[k].mass);
        EXPECT_EQ(plain.rows[k - 1].weightedScale, all.rows[k].weightedScale);
    }
    EXPECT_EQ(plain.chiSquare, all.chiSquare);
}
