#include "core/CommaText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Fields = std::vector<std::string>;

TEST(SplitCommaText, SplitsAtCommas)
{
    EXPECT_EQ(SplitCommaText("a,b,c"), (Fields{ "a", "b", "c" }));
    EXPECT_EQ(SplitCommaText("喫煙,10,20"), (Fields{ "喫煙", "10", "20" }));
}

TEST(SplitCommaText, EndsAFieldAtEveryCodeFromOneTo32)
{
    EXPECT_EQ(SplitCommaText("light blue,1"), (Fields{ "light", "blue", "1" }));
    EXPECT_EQ(SplitCommaText("a\tb"), (Fields{ "a", "b" }));
    EXPECT_EQ(SplitCommaText(std::string("a\x01") + "b\x1f" + "c"), (Fields{ "a", "b", "c" }));
    EXPECT_EQ(SplitCommaText("a\rb"), (Fields{ "a", "b" }));
    // Code 127 and the ideographic space are ordinary characters.
    EXPECT_EQ(SplitCommaText("a\x7f"
                             "b,c　d"),
        (Fields{ "a\x7f"
                 "b",
            "c　d" }));
}

TEST(SplitCommaText, SkipsBlanksBeforeAFieldAndAroundCommas)
{
    EXPECT_EQ(SplitCommaText("  a ,\t b  ,c  "), (Fields{ "a", "b", "c" }));
    EXPECT_EQ(SplitCommaText(" \t "), Fields{});
}

TEST(SplitCommaText, ReadsQuotedFieldsWithCommasBlanksAndDoubledQuotes)
{
    EXPECT_EQ(SplitCommaText("\"a, b\",c"), (Fields{ "a, b", "c" }));
    EXPECT_EQ(SplitCommaText("\"say \"\"hi\"\"\",1"), (Fields{ "say \"hi\"", "1" }));
    EXPECT_EQ(SplitCommaText("\"\",x"), (Fields{ "", "x" }));
    EXPECT_EQ(SplitCommaText("\"\"\"\""), (Fields{ "\"" }));
    EXPECT_EQ(SplitCommaText("  \"q\"  ,  r"), (Fields{ "q", "r" }));
}

TEST(SplitCommaText, StartsANewFieldRightAfterAClosingQuote)
{
    EXPECT_EQ(SplitCommaText("\"ab\"cd,e"), (Fields{ "ab", "cd", "e" }));
}

TEST(SplitCommaText, LetsAnUnclosedQuoteRunToTheEndOfTheLine)
{
    EXPECT_EQ(SplitCommaText("\"a,b c"), (Fields{ "a,b c" }));
    EXPECT_EQ(SplitCommaText("x,\"a\"\"b"), (Fields{ "x", "a\"b" }));
    EXPECT_EQ(SplitCommaText("\""), (Fields{ "" }));
}

TEST(SplitCommaText, LetsAQuoteInsideAnUnquotedFieldStand)
{
    EXPECT_EQ(SplitCommaText("a\"b,c"), (Fields{ "a\"b", "c" }));
}

TEST(SplitCommaText, GivesEmptyFieldsBetweenCommasAndAfterAFinalComma)
{
    EXPECT_EQ(SplitCommaText(",,"), (Fields{ "", "", "" }));
    EXPECT_EQ(SplitCommaText("a,"), (Fields{ "a", "" }));
    EXPECT_EQ(SplitCommaText(",a"), (Fields{ "", "a" }));
    EXPECT_EQ(SplitCommaText("a, ,b"), (Fields{ "a", "", "b" }));
    // A final comma followed by blanks adds no field.
    EXPECT_EQ(SplitCommaText("a, "), (Fields{ "a" }));
}

TEST(SplitCommaText, GivesNoFieldsForAnEmptyLine)
{
    EXPECT_EQ(SplitCommaText(""), Fields{});
}

TEST(SplitCommaText, StopsAtANul)
{
    EXPECT_EQ(SplitCommaText(std::string("a,b\0,c", 6)), (Fields{ "a", "b" }));
}

TEST(JoinCommaText, WritesPlainFieldsAsTheyStand)
{
    EXPECT_EQ(JoinCommaText({ "", "C1", "喫煙", "10" }), ",C1,喫煙,10");
    EXPECT_EQ(JoinCommaText({ "a", "" }), "a,");
    EXPECT_EQ(JoinCommaText({ "a'b\\c" }), "a'b\\c");
}

TEST(JoinCommaText, QuotesFieldsTheReaderWouldSplitOrMerge)
{
    EXPECT_EQ(JoinCommaText({ "light blue", "1" }), "\"light blue\",1");
    EXPECT_EQ(JoinCommaText({ "a,b" }), "\"a,b\"");
    EXPECT_EQ(JoinCommaText({ "\"x", "2" }), "\"\"\"x\",2");
    EXPECT_EQ(JoinCommaText({ "say \"hi\"" }), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(JoinCommaText({ "tab\there" }), "\"tab\there\"");
    EXPECT_EQ(JoinCommaText({ "" }), "\"\"");
}

TEST(CommaText, GivesBackEveryAwkwardRowOfFields)
{
    const std::vector<Fields> rows = {
        { "" },
        { "", "" },
        { " ", "  lead", "trail  ", "mid dle" },
        { "\"", "\"\"", "\"quoted\"", "a\"b" },
        { ",", ",,", "a,", ",a" },
        { "\r", "x\ry", "\x01", "\x1f" },
        { "カテゴリー 1", "全角　空白", "①②", "R" },
        { "", "", "x", "" },
    };
    for (const Fields &row : rows)
        EXPECT_EQ(SplitCommaText(JoinCommaText(row)), row) << JoinCommaText(row);
}
