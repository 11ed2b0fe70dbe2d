#include "core/CellBlock.h"

#include <gtest/gtest.h>

using Rows = CellBlock;

TEST(CellBlock, OnlyTabsAndLineBreaksMakeABlock)
{
    EXPECT_FALSE(IsCellBlockText("喫煙者 \"重\""));
    EXPECT_TRUE(IsCellBlockText("a\tb"));
    EXPECT_TRUE(IsCellBlockText("a\n"));
    EXPECT_TRUE(IsCellBlockText("a\r"));
}

TEST(CellBlock, SplitsRowsAtEveryLineEndButNotAtTheLastOne)
{
    EXPECT_EQ(SplitCellBlock(""), Rows{});
    EXPECT_EQ(SplitCellBlock("a\tb\r\nc\td\r\n"), (Rows{ { "a", "b" }, { "c", "d" } }));
    EXPECT_EQ(SplitCellBlock("a\tb\nc\td"), (Rows{ { "a", "b" }, { "c", "d" } }));
    EXPECT_EQ(SplitCellBlock("a\rb\r"), (Rows{ { "a" }, { "b" } }));
    // Only one line end is the block's own; an empty last row stays a row.
    EXPECT_EQ(SplitCellBlock("a\r\n\r\n"), (Rows{ { "a" }, { "" } }));
    EXPECT_EQ(SplitCellBlock("\t\r\n\tx"), (Rows{ { "", "" }, { "", "x" } }));
    EXPECT_EQ(SplitCellBlock("a\t"), (Rows{ { "a", "" } }));
    EXPECT_EQ(SplitCellBlock("a\nb\tc\n"), (Rows{ { "a" }, { "b", "c" } }));
}

TEST(CellBlock, ReadsQuotedCellsAsSpreadsheetsWriteThem)
{
    EXPECT_EQ(SplitCellBlock("\"two\r\nlines\"\t\"say \"\"hi\"\"\"\r\nx\t\"a\tb\"\r\n"),
        (Rows{ { "two\r\nlines", "say \"hi\"" }, { "x", "a\tb" } }));
    // Quotes that do not enclose the whole cell are text.
    EXPECT_EQ(SplitCellBlock("5\" disk\t\"a\"b\t\"open\r\nx"),
        (Rows{ { "5\" disk", "\"a\"b", "\"open" }, { "x" } }));
    EXPECT_EQ(SplitCellBlock("\"\"\t\"\"\"\""), (Rows{ { "", "\"" } }));
}

TEST(CellBlock, WritesTabsAndCrLfThatSplitBackToTheSameBlock)
{
    const Rows block{ { "", "列 A", "a\"b" }, { "x\ty", "two\nlines", "\"q\"" }, { "", "", "" } };
    const std::string text = CellBlockText(block);
    EXPECT_EQ(text, "\t列 A\t\"a\"\"b\"\r\n\"x\ty\"\t\"two\nlines\"\t\"\"\"q\"\"\"\r\n\t\t\r\n");
    EXPECT_EQ(SplitCellBlock(text), block);
}

TEST(CellBlock, TakesABlockOutOfATable)
{
    InputTable table(2, 2);
    table.setText(0, 0, "a");
    table.setText(1, 1, "b");
    EXPECT_EQ(TableBlock(table, 0, 0, 2, 2), (Rows{ { "a", "" }, { "", "b" } }));
    EXPECT_EQ(TableBlock(table, 1, 1, 1, 1), (Rows{ { "b" } }));
    EXPECT_EQ(TableBlock(table, 2, 1, 2, 1), (Rows{ { "" }, { "" } })); // beyond: empty
}
