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

TEST(TableSize, TakesSizesUpToTheInputLimit)
{
    const TableSize smallest = ReadTableSize("1", "1");
    EXPECT_EQ(smallest.rows, 1);
    EXPECT_EQ(smallest.cols, 1);
    const TableSize tall = ReadTableSize("100000", "100");
    EXPECT_EQ(tall.rows, 100000);
    EXPECT_EQ(tall.cols, 100);
    const TableSize wordTable = ReadTableSize("20000", "300");
    EXPECT_EQ(wordTable.cols, 300);
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

TEST(TableSize, RefusesASideOutsideTheLimitOrTooManyCells)
{
    const std::string expected = "行数と列数は 1 から 100000 までの整数で指定して下さい";
    EXPECT_EQ(messageOf<InputError>("0", "3"), expected);
    EXPECT_EQ(messageOf<InputError>("3", "100001"), expected);
    EXPECT_EQ(messageOf<InputError>("-1", "3"), expected);
    EXPECT_EQ(messageOf<InputError>("2147483647", "2147483647"), expected);
    // Each side within the limit, the product past it; the product is formed
    // in 64 bits.
    EXPECT_EQ(ReadTableSize("100000", "100").rows, 100000);
    EXPECT_EQ(messageOf<InputError>("100000", "101"),
        "表の大きさが 100000 行 × 101 列で、欄の数 10100000 が上限の 10000000 を超えています");
    EXPECT_EQ(messageOf<InputError>("100000", "100000"),
        "表の大きさが 100000 行 × 100000 列で、欄の数 10000000000 が上限の 10000000 "
        "を超えています");
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
