#include "core/GridPaste.h"

#include "core/CoreErrors.h"
#include "core/TableSize.h"

#include <gtest/gtest.h>

TEST(GridPaste, FillsTheBlockFromTheGivenCellAndLeavesTheRest)
{
    Grid grid = NewDataGrid({ 3, 3 });
    grid.setCell(4, 4, "keep");
    const Grid pasted = PasteIntoGrid(grid, 2, 2, { { "1", "2" }, { "3" } });
    Grid expected = grid;
    expected.setCell(2, 2, "1");
    expected.setCell(3, 2, "2");
    expected.setCell(2, 3, "3");
    EXPECT_EQ(pasted, expected);
}

TEST(GridPaste, GrowsTheTableToFitWithHeaderCells)
{
    const Grid pasted = PasteIntoGrid(NewDataGrid({ 1, 1 }), 1, 1,
        { { "", "A", "B", "C" }, { "r1", "1", "2", "3" }, { "r2", "4", "5", "6" } });
    ASSERT_EQ(pasted.colCount(), 5);
    ASSERT_EQ(pasted.rowCount(), 4);
    EXPECT_EQ(pasted, PasteIntoGrid(NewDataGrid({ 2, 3 }), 1, 1, GridBlock(pasted, 1, 1, 4, 3)));
    EXPECT_EQ(pasted.cell(4, 0), "列-3");
    EXPECT_EQ(pasted.cell(0, 3), "行-2");
    EXPECT_EQ(pasted.cell(4, 3), "6");
}

TEST(GridPaste, GrowsUpToFiftyByFiftyAndRefusesBeyond)
{
    const Grid start = NewDataGrid({ 3, 3 });
    const CellBlock row50(1, std::vector<std::string>(50, "1"));
    EXPECT_EQ(PasteIntoGrid(start, 2, 2, row50).colCount(), 52);
    try {
        PasteIntoGrid(start, 3, 2, row50);
        FAIL() << "a 51st column was pasted";
    } catch (const InputError &error) {
        EXPECT_STREQ(error.what(),
            "貼り付けると表が 3 行 × 51 列になり、上限の 50 行 × 50 列を超えるため、"
            "貼り付けませんでした");
    }
    // From the names row, 51 lines are the names and 50 rows.
    const CellBlock column51(51, std::vector<std::string>(1, "1"));
    EXPECT_EQ(PasteIntoGrid(start, 1, 1, column51).rowCount(), 52);
    EXPECT_THROW(PasteIntoGrid(start, 1, 2, column51), InputError);
}
