#include "core/ResultTables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(ResultTables, NumbersHaveFixedPlacesAndNoNegativeZero)
{
    EXPECT_EQ(FixedText(1234.5678L, 2), "1234.57");
    EXPECT_EQ(FixedText(-0.00004L, 3), "0.000");
    EXPECT_EQ(FixedText(-0.0006L, 3), "-0.001");
    EXPECT_EQ(FixedText(2.0L, 0), "2");
    EXPECT_EQ(PValueText(0.171784L), "0.1718");
    EXPECT_EQ(PValueText(0.0001L), "0.0001");
    EXPECT_EQ(PValueText(3.24e-7L), "3.2e-07");
    EXPECT_EQ(PValueText(0.0L), "0.0000");
    EXPECT_EQ(PValueText(1.0L), "1.0000");
}

TEST(ResultTables, CategoryTableShowsPerCentAndKeepsValuesForSorting)
{
    CategoryStats row;
    row.name = "上級";
    row.mass = 0.0207L;
    row.inertia = 0.00299L;
    row.quality = 0.892L;
    row.scale = { -0.24L, 1.5L };
    row.weightedScale = { -0.066L, 0.194L };
    row.contribution = std::vector<long double>{ 0.00313L, 0.554L };
    row.cos2 = { 0.092L, 0.800L };
    CategoryStats supplementary = row;
    supplementary.supplementary = true;
    supplementary.mass.reset();
    supplementary.inertia.reset();
    supplementary.contribution.reset();

    const ResultTable table = CategoryTable({ row, supplementary }, 2);
    ASSERT_EQ(table.headings.size(), 12u);
    EXPECT_EQ(table.headings[2], "慣性(%)");
    EXPECT_EQ(table.headings[4], "尺度値1");
    EXPECT_EQ(table.headings[10], "寄与(%)2");
    EXPECT_EQ(table.headings[11], "cos²2");
    ASSERT_EQ(table.rows.size(), 2u);
    const std::vector<ResultCell> &line = table.rows[0];
    EXPECT_EQ(line[0].text, "上級");
    EXPECT_FALSE(line[0].value);
    EXPECT_EQ(line[1].text, "0.0207");
    EXPECT_EQ(line[2].text, "0.30");
    EXPECT_DOUBLE_EQ(*line[2].value, 0.299);
    EXPECT_EQ(line[4].text, "-0.2400");
    EXPECT_EQ(line[6].text, "0.31");
    EXPECT_EQ(line[10].text, "55.40");
    EXPECT_EQ(line[11].text, "0.800");
    // A supplementary category is marked by its name; what it lacks is
    // empty, with nothing to sort by.
    EXPECT_EQ(table.rows[1][0].text, "上級（補助）");
    for (std::size_t k : { 1u, 2u, 6u, 10u }) {
        EXPECT_EQ(table.rows[1][k].text, "") << k;
        EXPECT_FALSE(table.rows[1][k].value) << k;
    }
    EXPECT_EQ(table.rows[1][11].text, "0.800");

    // One that could not be placed (its counts are all 0) has no values.
    CategoryStats unplaced = supplementary;
    unplaced.scale.clear();
    unplaced.weightedScale.clear();
    unplaced.cos2.clear();
    const std::vector<ResultCell> empty = CategoryTable({ unplaced }, 2).rows.at(0);
    ASSERT_EQ(empty.size(), 12u);
    for (std::size_t k = 4; k < 12; ++k)
        EXPECT_EQ(empty[k].text, "") << k;
}

TEST(ResultTables, SolutionTableAndSummary)
{
    Interpretation stats;
    stats.n = 193;
    stats.chiSquare = 16.44164L;
    stats.df = 12;
    stats.pValue = 0.17178L;
    stats.totalInertia = 0.0851899L;
    stats.solutions
        = { { 0.2734L, 0.07476L, 87.756L, 87.756L }, { 0.1001L, 0.01002L, 11.76L, 99.516L } };
    const ResultTable table = SolutionTable(stats);
    EXPECT_EQ(table.headings,
        std::vector<std::string>({ "解", "η", "η²", "寄与率(%)", "累積寄与率(%)" }));
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_EQ(table.rows[1][0].text, "2");
    EXPECT_EQ(table.rows[1][4].text, "99.52");
    // A permutation test adds its column; a solution it did not test is empty.
    const ResultTable tested = SolutionTable(stats, { 0.000049 });
    EXPECT_EQ(tested.headings.back(), "並べ替え p 値");
    EXPECT_EQ(tested.rows[0][5].text, "4.9e-05");
    EXPECT_EQ(tested.rows[0][5].value, 0.000049);
    EXPECT_EQ(tested.rows[1][5].text, "");
    EXPECT_FALSE(tested.rows[1][5].value);
    using Items = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(SummaryItems(stats),
        Items({ { "N", "193" }, { "χ²", "16.442" }, { "自由度", "12" }, { "p 値", "0.1718" },
            { "全慣性", "0.08519" } }));
}

TEST(ResultTables, SelectionBecomesARectangleOfTabSeparatedLines)
{
    const auto text = [](int row, int column) {
        if (row == 2 && column == 3)
            return std::string("a\t\"b\"");
        return std::to_string(row) + "," + std::to_string(column);
    };
    EXPECT_EQ(TabSeparatedText({}, text), "");
    EXPECT_EQ(TabSeparatedText({ { 4, 2 } }, text), "4,2\r\n");
    // Out of order, with a gap at (1, 3) and (2, 2).
    EXPECT_EQ(TabSeparatedText({ { 2, 3 }, { 1, 2 } }, text), "1,2\t\r\n\t\"a\t\"\"b\"\"\"\r\n");
    // The headings of the rectangle's columns, quoted alike, come first.
    const auto heading = [](int column) { return column == 3 ? std::string("η\t²") : "h"; };
    EXPECT_EQ(TabSeparatedText({ { 2, 3 }, { 1, 2 } }, text, heading),
        "h\t\"η\t²\"\r\n1,2\t\r\n\t\"a\t\"\"b\"\"\"\r\n");
    EXPECT_EQ(TabSeparatedText({}, text, heading), "");
}
