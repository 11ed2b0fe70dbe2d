#include "core/NumberForms.h"

#include "analysis/Errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(FormI, WritesDecimalAndPadsToTheWidth)
{
    EXPECT_EQ(FormI(0), "0");
    EXPECT_EQ(FormI(-12), "-12");
    EXPECT_EQ(FormI(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(FormI(10, 7), "     10");
    EXPECT_EQ(FormI(-5, 2), "-5");
    EXPECT_EQ(FormI(1234567, 7), "1234567");
    EXPECT_EQ(FormI(12345678, 7), "12345678"); // wider: written whole
    EXPECT_EQ(FormI(3, 0), "3");
}

TEST(FormF, RoundsHalfAwayFromZero)
{
    EXPECT_EQ(FormF(0.125L, 0, 2), "0.13");
    EXPECT_EQ(FormF(-0.125L, 0, 2), "-0.13");
    EXPECT_EQ(FormF(2.5L, 0, 0), "3");
    EXPECT_EQ(FormF(-2.5L, 0, 0), "-3");
    EXPECT_EQ(FormF(8.45L, 0, 1), "8.5");
    EXPECT_EQ(FormF(0.00049999L, 0, 3), "0.000");
}

TEST(FormF, RoundsTheEighteenDigitFormNotTheBinaryValue)
{
    // Each of these lies just below the tie in binary, yet its 18-digit form
    // is the tie itself, which rounds away from zero.
    EXPECT_EQ(FormF(2.675L, 0, 2), "2.68");
    EXPECT_EQ(FormF(-2.675L, 0, 2), "-2.68");
    EXPECT_EQ(FormF(0.0005L, 0, 3), "0.001");
    EXPECT_EQ(FormF(99.95L, 0, 1), "100.0");
    // 0.4999999999999999998916 has the 18-digit form 0.500000000000000000.
    EXPECT_EQ(FormF(0.4999999999999999999L, 0, 0), "1");
    EXPECT_EQ(FormF(0.4999999999999999L, 0, 0), "0");
}

TEST(FormF, KeepsTheMinusOfSmallNegativesButNotOfNegativeZero)
{
    EXPECT_EQ(FormF(-0.0004L, 9, 3), "   -0.000");
    EXPECT_EQ(FormF(-1e-30L, 9, 1), "     -0.0");
    EXPECT_EQ(FormF(-0.0L, 9, 3), "    0.000");
    EXPECT_EQ(FormF(0.0L, 9, 3), "    0.000");
    EXPECT_EQ(FormF(1e-4000L, 9, 3), "    0.000");
}

TEST(FormF, CarriesIntoANewLeadingDigit)
{
    EXPECT_EQ(FormF(9.9996L, 9, 3), "   10.000");
    EXPECT_EQ(FormF(-99.95L, 0, 1), "-100.0");
    EXPECT_EQ(FormF(0.96L, 0, 1), "1.0");
    EXPECT_EQ(FormF(0.5L, 0, 0), "1");
}

TEST(FormF, WritesWideValuesWholeWithZerosBeyondEighteenDigits)
{
    EXPECT_EQ(FormF(123456.789L, 9, 3), "123456.789");
    EXPECT_EQ(FormF(-2147483648.0L, 9, 1), "-2147483648.0");
    EXPECT_EQ(FormF(1e20L, 0, 1), "100000000000000000000.0");
    EXPECT_EQ(FormF(123456789012345678901234.0L, 0, 0), "123456789012345679000000");
    EXPECT_EQ(FormF(std::numeric_limits<long double>::max(), 0, 0).size(), 4933u);
}

TEST(FormF, MatchesTheReportFields)
{
    EXPECT_EQ(FormF(-8.461538461538461538L, 9, 1), "     -8.5");
    EXPECT_EQ(FormF(0.2880952380952381L, 10, 7), " 0.2880952");
    EXPECT_EQ(FormF(100.0L, 7, 2), " 100.00");
    EXPECT_EQ(FormF(1.0801234497346433L, 9, 3), "    1.080");
    EXPECT_EQ(FormF(-0.9258200997725514L, 9, 3), "   -0.926");
}

TEST(FormF, RefusesInfinityAndNaN)
{
    EXPECT_THROW(FormF(std::numeric_limits<long double>::infinity(), 9, 3), FloatError);
    EXPECT_THROW(FormF(std::numeric_limits<long double>::quiet_NaN(), 9, 3), FloatError);
}

TEST(FormE, WritesTwentyThreeCharactersWithAFourDigitExponent)
{
    EXPECT_EQ(FormE(33.846153846153846L), " 3.38461538461538E+0001");
    EXPECT_EQ(FormE(-33.846153846153846L), "-3.38461538461538E+0001");
    EXPECT_EQ(FormE(1.0L), " 1.00000000000000E+0000");
    EXPECT_EQ(FormE(1e-5L), " 1.00000000000000E-0005");
    EXPECT_EQ(FormE(1.5e-300L), " 1.50000000000000E-0300");
    EXPECT_EQ(FormE(std::numeric_limits<long double>::max()), " 1.18973149535723E+4932");
    EXPECT_EQ(FormE(std::numeric_limits<long double>::denorm_min()), " 3.64519953188247E-4951");
}

TEST(FormE, WritesZeroAndNegativeZeroAlike)
{
    EXPECT_EQ(FormE(0.0L), " 0.00000000000000E+0000");
    EXPECT_EQ(FormE(-0.0L), " 0.00000000000000E+0000");
}

TEST(FormE, RoundsHalfAwayToFifteenDigitsWithCarry)
{
    EXPECT_EQ(FormE(1.234567890123455L), " 1.23456789012346E+0000");
    EXPECT_EQ(FormE(-1.234567890123455L), "-1.23456789012346E+0000");
    EXPECT_EQ(FormE(1.234567890123454L), " 1.23456789012345E+0000");
    EXPECT_EQ(FormE(9.999999999999995L), " 1.00000000000000E+0001");
    EXPECT_EQ(FormE(-9.9999999999999999e-6L), "-1.00000000000000E-0005");
    for (const long double value : { 1e-5L, 3.3e7L, -2.0L / 3.0L })
        EXPECT_EQ(FormE(value).size(), 23u);
}

TEST(FormE, RefusesInfinityAndNaN)
{
    EXPECT_THROW(FormE(-std::numeric_limits<long double>::infinity()), FloatError);
    EXPECT_THROW(FormE(std::numeric_limits<long double>::quiet_NaN()), FloatError);
}
