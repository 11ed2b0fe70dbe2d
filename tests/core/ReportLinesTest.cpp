#include "core/ReportLines.h"
#include "core/ReportWriter.h"

#include <gtest/gtest.h>

#include <string>

TEST(CountLine, WritesEachCountAsI7AndLetsWideCountsRunTogether)
{
    TIntMatrix table(2, 2);
    table(1, 1) = 10;
    table(1, 2) = 20;
    table(2, 1) = 12345678;
    table(2, 2) = 5;
    EXPECT_EQ(CountLine(table, 1, 2), "     10     20");
    EXPECT_EQ(CountLine(table, 2, 2), "12345678      5");
}

TEST(SolutionLine, LaysOutTheThreeValuesAndGrowsFromSolutionTen)
{
    EXPECT_EQ(SolutionLine(1, 0.2880952380952381L, 100.0L, 100.0L),
        "      1 ==>  0.2880952         100.00%    100.00%");
    EXPECT_EQ(SolutionLine(10, 0.0123456L, 1.5L, 99.995L),
        "      10 ==>  0.0123456           1.50%    100.00%");
}

TEST(CategoryPrefix, WritesTheFirstTwoCharactersInTheirBrackets)
{
    EXPECT_EQ(CategoryPrefix(1, "R1", true), "カテゴリー 1 (R1)");
    EXPECT_EQ(CategoryPrefix(2, "Column", false), "カテゴリー 2 [Co]");
    EXPECT_EQ(CategoryPrefix(3, "", true), "カテゴリー 3 ()");
    EXPECT_EQ(CategoryPrefix(4, "x", false), "カテゴリー 4 [x]");
    EXPECT_EQ(CategoryPrefix(10, "上級管理職", true), "カテゴリー10 (上級)");
    EXPECT_EQ(CategoryPrefix(50, "ﾃｽﾄ", false), "カテゴリー50 [ﾃｽ]");
}

TEST(CategoryPrefix, NeverSplitsACharacterOutsideTheBasicPlane)
{
    EXPECT_EQ(CategoryPrefix(1, "😀😀", true), "カテゴリー 1 (😀)");
    EXPECT_EQ(CategoryPrefix(1, "A😀", true), "カテゴリー 1 (A)");
}

TEST(ScaleLine, AppendsOneF93ValuePerDimension)
{
    TExtMatrix scale(2, 3);
    scale(2, 1) = 1.0801234L;
    scale(2, 2) = -0.0004L;
    scale(2, 3) = 1234567.0L;
    EXPECT_EQ(ScaleLine("p", scale, 2, 3), "p    1.080   -0.0001234567.000");
    EXPECT_EQ(ScaleLine("p", scale, 2, 0), "p");
    EXPECT_EQ(ScaleLine("p", scale, 2, -3), "p");
}

TEST(ReportWriter, EncodesInCp932AndEndsLinesInCrLf)
{
    std::string bytes;
    MemoryReportSink sink(bytes);
    ReportWriter report(sink);
    report.useCharset(TextCharset::Cp932);
    report.line(ReportText::InputHeading);
    report.blankLines(2);
    report.text("a");
    report.text("喫");
    report.endLine();
    EXPECT_EQ(bytes, "\x93\xFC\x97\xCD\x83\x66\x81\x5B\x83\x5E\r\n\r\n\r\na\x8B\x69\r\n");
}

TEST(ReportWriter, StartsUtf8WithItsMark)
{
    std::string bytes;
    MemoryReportSink sink(bytes);
    ReportWriter report(sink);
    report.useCharset(TextCharset::Utf8WithBom);
    report.line("😀");
    EXPECT_EQ(bytes, "\xEF\xBB\xBF😀\r\n");
}

TEST(ReportText, EveryFixedTextIsWritableInCp932)
{
    Cp932Codec codec;
    for (const std::string_view text :
        { ReportText::InputHeading, ReportText::AssociationHeading, ReportText::Rule,
            ReportText::AssocSumLabel, ReportText::SolutionHeading, ReportText::TooManyDimensions,
            ReportText::NDimSetTo, ReportText::NDimSetToEnd, ReportText::RowScaleHeading,
            ReportText::ColScaleHeading, ReportText::RowWeightedHeading,
            ReportText::ColWeightedHeading, std::string_view("カテゴリー") })
        EXPECT_TRUE(codec.encode(text)) << text;
}
