#include "core/GridPaste.h"

#include "core/CoreErrors.h"
#include "core/TableSize.h"

#include <gtest/gtest.h>

namespace {

InputTable pasted(InputTable table, int i, int j, const CellBlock &block)
{
    ApplyPaste(table, PlanPaste(table, i, j, block));
    return table;
}

} // namespace

TEST(GridPaste, FillsTheBlockFromTheGivenCellAndLeavesTheRest)
{
    InputTable table = NewInputTable({ 3, 3 });
    table.setText(3, 3, "keep");
    InputTable expected = table;
    expected.setText(1, 1, "1");
    expected.setText(1, 2, "2");
    expected.setText(2, 1, "3");
    EXPECT_EQ(pasted(table, 1, 1, { { "1", "2" }, { "3" } }), expected);
}

TEST(GridPaste, GrowsTheTableToFitAndTakesTheGrowthBackExactly)
{
    InputTable start = NewInputTable({ 1, 1 });
    start.setText(0, 1, "old name");
    start.setText(1, 1, "9");
    start.setMarks({ { 1 }, { 1 } });
    const CellBlock block{ { "", "A", "B", "C" }, { "r1", "1", "2", "3" },
        { "r2", "4", "5", "6" } };
    const PasteChange change = PlanPaste(start, 0, 0, block);
    EXPECT_EQ(change.rowsAfter, 2);
    EXPECT_EQ(change.colsAfter, 3);
    // Only the cells the old table had are kept for the way back.
    EXPECT_EQ(change.before, (CellBlock{ { "", "old name" }, { "", "9" }, {} }));

    InputTable table = start;
    ApplyPaste(table, change);
    EXPECT_EQ(table.rows(), 2);
    EXPECT_EQ(table.cols(), 3);
    EXPECT_EQ(table.count(2, 3), "6");
    EXPECT_EQ(table.colName(3), "C");
    EXPECT_EQ(table.marks(), start.marks());
    UndoPaste(table, change);
    EXPECT_EQ(table, start);
}

TEST(GridPaste, GrowsPastFiftyUpToTheInputLimitAndRefusesBeyond)
{
    const InputTable start = NewInputTable({ 1, 1 });
    const CellBlock block(60, std::vector<std::string>(70, "1"));
    const InputTable grown = pasted(start, 1, 1, block);
    EXPECT_EQ(grown.rows(), 60);
    EXPECT_EQ(grown.cols(), 70);
    EXPECT_EQ(grown.count(60, 70), "1");
    // One column more than the cells allow, and one more than a side allows.
    const CellBlock column(1, std::vector<std::string>(1, "1"));
    const PasteChange largest = PlanPaste(start, 100000, 100, column);
    EXPECT_EQ(largest.rowsAfter, 100000);
    EXPECT_EQ(largest.colsAfter, 100);
    try {
        PlanPaste(start, 100000, 101, column);
        FAIL() << "a table past the cell limit was pasted";
    } catch (const InputError &error) {
        EXPECT_STREQ(error.what(),
            "貼り付けると表が 100000 行 × 101 列になり、上限 (行、列とも 100000 まで、欄の数 "
            "10000000 まで) を超えるため、貼り付けませんでした");
    }
    EXPECT_THROW(PlanPaste(start, 1, 100001, column), InputError);
    // From the names row, 61 lines are the names and 60 rows.
    const CellBlock column61(61, std::vector<std::string>(1, "1"));
    EXPECT_EQ(pasted(start, 0, 0, column61).rows(), 60);
}

// A cell shows one line and a data file cannot hold a break: a pasted cell
// with line breaks (a spreadsheet's multi-line cell) gets a blank for each.
TEST(GridPaste, TurnsLineBreaksInsideACellIntoBlanks)
{
    const InputTable table = pasted(NewInputTable({ 2, 2 }), 0, 1,
        SplitCellBlock("\"two\r\nlines\"\t\"a\nb\rc\"\r\n\"x\r\n\r\ny\"\t1\r\n"));
    EXPECT_EQ(table.colName(1), "two lines");
    EXPECT_EQ(table.colName(2), "a b c");
    EXPECT_EQ(table.count(1, 1), "x  y");
    EXPECT_EQ(WithoutLineBreaks("plain"), "plain");
}
