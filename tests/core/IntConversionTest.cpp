#include "core/IntConversion.h"
#include "tests/ExpectError.h"
#include "core/CoreErrors.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The conversion must fail with the user's message naming the very text.
void expectRefused(const std::string &text)
{
    ExpectError<ConvertError>("''" + text + "'' は整数ではありません", [&] { StrToInt32(text); });
}

} // namespace

TEST(StrToInt32, ReadsDecimalWithLeadingBlanksAndSign)
{
    EXPECT_EQ(StrToInt32("0"), 0);
    EXPECT_EQ(StrToInt32("42"), 42);
    EXPECT_EQ(StrToInt32("   42"), 42);
    EXPECT_EQ(StrToInt32("+7"), 7);
    EXPECT_EQ(StrToInt32("-7"), -7);
    EXPECT_EQ(StrToInt32("  -0"), 0);
    EXPECT_EQ(StrToInt32("000000000000000000000000000012"), 12);
}

TEST(StrToInt32, ReadsEveryHexadecimalPrefixInEitherCase)
{
    EXPECT_EQ(StrToInt32("$1F"), 31);
    EXPECT_EQ(StrToInt32("x1f"), 31);
    EXPECT_EQ(StrToInt32("X1F"), 31);
    EXPECT_EQ(StrToInt32("0x1F"), 31);
    EXPECT_EQ(StrToInt32("0XaB"), 171);
    EXPECT_EQ(StrToInt32(" -$10"), -16);
    EXPECT_EQ(StrToInt32("+0x0"), 0);
    EXPECT_EQ(StrToInt32("$00000000000000000000000A"), 10);
}

TEST(StrToInt32, AcceptsBothEndsOfThe32BitRange)
{
    EXPECT_EQ(StrToInt32("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt32("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(StrToInt32("$7FFFFFFF"), 2147483647);
    EXPECT_EQ(StrToInt32("-0x80000000"), -2147483647 - 1);
}

TEST(StrToInt32, RefusesValuesOutsideThe32BitSignedRange)
{
    expectRefused("2147483648");
    expectRefused("-2147483649");
    expectRefused("99999999999999999999999");
    // Hexadecimal is a magnitude: it does not wrap to a negative value.
    expectRefused("$80000000");
    expectRefused("$FFFFFFFF");
    expectRefused("-$80000001");
    expectRefused("0x100000000");
}

TEST(StrToInt32, RefusesTextsWithoutDigits)
{
    expectRefused("");
    expectRefused("   ");
    expectRefused("-");
    expectRefused("+");
    expectRefused("$");
    expectRefused("x");
    expectRefused("0x");
    expectRefused("-0X");
}

TEST(StrToInt32, RefusesAnythingOutOfPlace)
{
    expectRefused("- 5"); // blank between sign and digits
    expectRefused("5 "); // trailing blank
    expectRefused("\t5"); // only code 32 is skipped
    expectRefused("1.0");
    expectRefused("1e3");
    expectRefused("--5");
    expectRefused("+-5");
    expectRefused("$-5");
    expectRefused("00x5"); // the prefix stands right after the sign
    expectRefused("0x0x5");
    expectRefused("$1G");
    expectRefused("12abc");
    expectRefused("１２"); // full-width digits
    expectRefused("abc");
}

TEST(StrToInt32Typed, ReadsFullWidthDigitsSignsAndBlankAsAscii)
{
    EXPECT_EQ(StrToInt32Typed("４５"), 45);
    EXPECT_EQ(StrToInt32Typed("－３"), -3);
    EXPECT_EQ(StrToInt32Typed("＋７"), 7);
    EXPECT_EQ(StrToInt32Typed("　１2"), 12);
    EXPECT_EQ(StrToInt32Typed("$7FFFFFFF"), 2147483647);
    EXPECT_EQ(FoldFullWidthNumber("ａ－０９＋　ー"), "ａ-09+ ー");
    for (const std::string text :
        { "１２　", "ー１", "$ＦＦ", "２１４７４８３６４８", "\xEF\xBC" }) {
        try {
            StrToInt32Typed(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const ConvertError &error) {
            EXPECT_EQ(std::string(error.what()), "''" + text + "'' は整数ではありません");
        }
    }
}

TEST(ConvertError, KeepsTheOffendingTextWhole)
{
    expectRefused("行 1");
    expectRefused("''");
}
