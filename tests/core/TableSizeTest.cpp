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

TEST(TableSize, NewInputTableIsEmptyOfItsSize)
{
    const InputTable table = NewInputTable({ 2, 3 });
    ASSERT_EQ(table.rows(), 2);
    ASSERT_EQ(table.cols(), 3);
    for (int i = 0; i <= 2; ++i)
        for (int j = 0; j <= 3; ++j)
            EXPECT_EQ(table.text(i, j), "") << "position (" << i << ", " << j << ")";
}

TEST(TableSize, HeaderTextsNumberTheRowsAndColumns)
{
    EXPECT_EQ(RowHeaderText(1), "行-1");
    EXPECT_EQ(RowHeaderText(50), "行-50");
    EXPECT_EQ(ColHeaderText(12), "列-12");
    EXPECT_EQ(RowHeaderText(20000), "行-20000");
}
