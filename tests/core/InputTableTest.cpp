#include "core/InputTable.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// A table whose every text names its position, "i.j".
InputTable numbered(int rows, int cols)
{
    InputTable table(rows, cols);
    for (int i = 0; i <= rows; ++i)
        for (int j = 0; j <= cols; ++j)
            table.setText(i, j, std::to_string(i) + "." + std::to_string(j));
    return table;
}

} // namespace

TEST(InputTable, HoldsNamesAndCountsAtTheirPositions)
{
    const InputTable table = numbered(2, 3);
    EXPECT_EQ(table.corner(), "0.0");
    EXPECT_EQ(table.colName(3), "0.3");
    EXPECT_EQ(table.rowName(2), "2.0");
    EXPECT_EQ(table.count(2, 3), "2.3");
    EXPECT_EQ(table.text(3, 1), ""); // outside reads empty
    EXPECT_EQ(table.text(1, -1), "");
    InputTable writable = table;
    EXPECT_THROW(writable.setText(3, 0, "x"), std::out_of_range);
    EXPECT_THROW(writable.setText(0, 4, "x"), std::out_of_range);
    EXPECT_EQ(writable, table);
}

TEST(InputTable, InsertsAndRemovesRowsAndColumnsMovingTextsAndMarks)
{
    InputTable table = numbered(3, 3);
    table.setMarks({ { 1, 3 }, { 2, 3 } });
    table.insertRows(2, 2);
    EXPECT_EQ(table.rows(), 5);
    EXPECT_EQ(table.rowName(1), "1.0");
    EXPECT_EQ(table.rowName(2), "");
    EXPECT_EQ(table.count(4, 3), "2.3");
    EXPECT_EQ(table.marks().rows, (std::set<int>{ 1, 5 }));
    table.insertCols(1, 1);
    EXPECT_EQ(table.cols(), 4);
    EXPECT_EQ(table.colName(1), "");
    EXPECT_EQ(table.rowName(5), "3.0"); // the names column stays first
    EXPECT_EQ(table.count(5, 4), "3.3");
    EXPECT_EQ(table.marks().cols, (std::set<int>{ 3, 4 }));

    table.removeCols(1, 1);
    table.removeRows(2, 2);
    InputTable expected = numbered(3, 3);
    expected.setMarks({ { 1, 3 }, { 2, 3 } });
    EXPECT_EQ(table, expected);

    // A mark on a row or column that goes goes with it.
    table.removeRows(1, 1);
    table.removeCols(3, 1);
    EXPECT_EQ(table.marks(), (SupplementaryMarks{ { 2 }, { 2 } }));
    EXPECT_THROW(table.removeRows(2, 2), std::out_of_range);
    EXPECT_THROW(table.insertCols(0, 1), std::out_of_range);
}

TEST(InputTable, ResizesAtTheEndsAndKeepsMarksWithinTheTable)
{
    InputTable table = numbered(2, 2);
    table.resize(3, 1);
    EXPECT_EQ(table.count(2, 1), "2.1");
    EXPECT_EQ(table.count(3, 1), "");
    EXPECT_EQ(table.colName(2), "");
    table.setMarks({ { 0, 3, 4 }, { 1, 2 } });
    EXPECT_EQ(table.marks(), (SupplementaryMarks{ { 3 }, { 1 } }));
}
