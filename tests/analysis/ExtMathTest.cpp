#include "analysis/ExtMath.h"
#include "MatrixHelpers.h"
#include "analysis/Errors.h"
#include "analysis/SVD.h"
#include "tests/ExpectError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace {

template <typename Action> void ExpectFloatError(Action &&action)
{
    ExpectError<FloatError>("不正な浮動小数点数演算命令", action);
}

} // namespace

TEST(ExtMath, DivisionByZeroAndZeroByZeroAreErrors)
{
    ExpectFloatError([] { Div(1.0L, 0.0L); });
    ExpectFloatError([] { Div(0.0L, 0.0L); });
    ExpectFloatError([] { Div(-3.0L, -0.0L); });
}

TEST(ExtMath, OverflowAndNonFiniteOperandsAreErrors)
{
    ExpectFloatError([] { Div(1e4000L, 1e-4000L); });
    ExpectFloatError([] { Div(std::numeric_limits<long double>::infinity(), 2.0L); });
    ExpectFloatError([] { Div(std::numeric_limits<long double>::quiet_NaN(), 2.0L); });
    ExpectFloatError([] { CheckFinite(1e4000L * 1e4000L); });
}

TEST(ExtMath, SquareRootOfNegativeOrNonFiniteIsAnError)
{
    ExpectFloatError([] { Sqrt(-1e-30L); });
    ExpectFloatError([] { Sqrt(std::numeric_limits<long double>::infinity()); });
    ExpectFloatError([] { Sqrt(std::numeric_limits<long double>::quiet_NaN()); });
}

TEST(ExtMath, ValidOperationsGiveThePlainResults)
{
    EXPECT_EQ(1.0L / 3.0L, Div(1.0L, 3.0L));
    EXPECT_EQ(0.0L, Div(0.0L, 7.0L));
    EXPECT_EQ(std::sqrt(2.0L), Sqrt(2.0L));
    EXPECT_EQ(0.0L, Sqrt(0.0L));
    EXPECT_TRUE(std::signbit(Sqrt(-0.0L)));
    EXPECT_EQ(4e-4950L, Div(4e-4950L, 1.0L)); // denormal results pass silently
    EXPECT_EQ(1e4000L, CheckFinite(1e4000L));
}

TEST(ExtMath, OverflowInsideTheDecompositionIsAnErrorNotAnInfinity)
{
    // A A^T overflows the extended range.
    const TExtMatrix A = MakeMatrix({ { 1e2500L, 1 }, { 1, 1e2500L } });
    TExtMatrix U, V;
    TExtVector S;
    int r = -1;
    ExpectFloatError([&] { SVD(A, U, S, r, V); });
}
