#include "core/Grid.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(Grid, StartsAsTheToolkitDefaultOfFiveByFiveEmptyCells)
{
    const Grid grid;
    EXPECT_EQ(grid.colCount(), 5);
    EXPECT_EQ(grid.rowCount(), 5);
    EXPECT_EQ(grid.cell(4, 4), "");
}

TEST(Grid, ReadsOutsideAsEmptyButRefusesToWriteThere)
{
    Grid grid(3, 2);
    EXPECT_EQ(grid.cell(3, 0), "");
    EXPECT_EQ(grid.cell(-1, 0), "");
    EXPECT_THROW(grid.setCell(0, 2, "x"), std::out_of_range);
}

TEST(Grid, ResizeKeepsTheCellsThatRemain)
{
    Grid grid(3, 3);
    grid.setCell(0, 0, "a");
    grid.setCell(2, 1, "b");
    grid.setCell(1, 2, "c");
    grid.resize(4, 2);
    EXPECT_EQ(grid.colCount(), 4);
    EXPECT_EQ(grid.rowCount(), 2);
    EXPECT_EQ(grid.cell(0, 0), "a");
    EXPECT_EQ(grid.cell(2, 1), "b");
    EXPECT_EQ(grid.cell(1, 2), "");
    EXPECT_EQ(grid.cell(3, 1), "");
}
