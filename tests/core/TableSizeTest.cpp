#include "core/TableSize.h"

#include "core/CoreErrors.h"

#include <gtest/gtest.h>

#include <string>

namespace {

template <typename Error> std::string messageOf(const std::string &rows, const std::string &cols)
{
    try {
        ReadTableSize(rows, cols);
    } catch (const Error &error) {
        return error.what();
    }
    return "no error";
}

}

TEST(TableSize, TakesSizesFromOneToFifty)
{
    const TableSize smallest = ReadTableSize("1", "1");
    EXPECT_EQ(smallest.rows, 1);
    EXPECT_EQ(smallest.cols, 1);
    const TableSize largest = ReadTableSize("50", "50");
    EXPECT_EQ(largest.rows, 50);
    EXPECT_EQ(largest.cols, 50);
    const TableSize typed = ReadTableSize(" 7", "$0A");
    EXPECT_EQ(typed.rows, 7);
    EXPECT_EQ(typed.cols, 10);
    const TableSize wide = ReadTableSize("５０", "　１"); // as an input method types them
    EXPECT_EQ(wide.rows, 50);
    EXPECT_EQ(wide.cols, 1);
}

TEST(TableSize, RefusesATextThatIsNotAnIntegerRowsFirst)
{
    EXPECT_EQ(messageOf<ConvertError>("abc", "3"), "''abc'' は整数ではありません");
    EXPECT_EQ(messageOf<ConvertError>("3", ""), "'''' は整数ではありません");
    EXPECT_EQ(messageOf<ConvertError>("x", "y"), "''x'' は整数ではありません");
    // An integer that is out of range is still checked after the column text.
    EXPECT_EQ(messageOf<ConvertError>("0", "y"), "''y'' は整数ではありません");
}

TEST(TableSize, RefusesASizeOutsideOneToFifty)
{
    const std::string expected = "行数と列数は 1 から 50 までの整数で指定して下さい";
    EXPECT_EQ(messageOf<InputError>("0", "3"), expected);
    EXPECT_EQ(messageOf<InputError>("3", "51"), expected);
    EXPECT_EQ(messageOf<InputError>("-1", "3"), expected);
    EXPECT_EQ(messageOf<InputError>("2147483647", "2147483647"), expected);
}

TEST(TableSize, NewDataGridHasHeaderCellsAndNothingElse)
{
    const Grid grid = NewDataGrid({ 2, 3 });
    ASSERT_EQ(grid.colCount(), 5);
    ASSERT_EQ(grid.rowCount(), 4);
    EXPECT_EQ(grid.cell(2, 0), "列-1");
    EXPECT_EQ(grid.cell(4, 0), "列-3");
    EXPECT_EQ(grid.cell(0, 2), "行-1");
    EXPECT_EQ(grid.cell(0, 3), "行-2");
    for (int r = 0; r < grid.rowCount(); ++r) {
        for (int c = 0; c < grid.colCount(); ++c) {
            const bool header = (r == 0 && c >= 2) || (c == 0 && r >= 2);
            if (!header) {
                EXPECT_EQ(grid.cell(c, r), "") << "cell (" << c << ", " << r << ")";
            }
        }
    }
}

TEST(TableSize, NewDataGridNumbersTwoDigitHeaders)
{
    const Grid grid = NewDataGrid({ 50, 12 });
    EXPECT_EQ(grid.cell(0, 51), "行-50");
    EXPECT_EQ(grid.cell(13, 0), "列-12");
}
