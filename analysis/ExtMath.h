#pragma once

#include "analysis/Errors.h"

#include <cmath>

// Checked 80-bit arithmetic for the operations that can create an infinity or
// a NaN from finite operands: division (x/0, 0/0, overflow) and the square
// root of a negative number. Each throws FloatError instead, so no NaN or
// infinity ever reaches a result. The values are those of the plain operators:
// the checks never change a bit of a valid result.

// The one throw point of FloatError, for every layer.
[[noreturn]] void RaiseFloatError();

// a / b, rounded to extended precision.
inline long double Div(long double a, long double b)
{
    if (b == 0.0L)
        RaiseFloatError();
    const long double q = a / b;
    if (!std::isfinite(q)) // overflow, or an operand that was already not finite
        RaiseFloatError();
    return q;
}

// The correctly rounded square root; -0 gives -0 like the hardware does.
inline long double Sqrt(long double x)
{
    if (!(x >= 0.0L) || !std::isfinite(x)) // negative, NaN, or an overflowed sum
        RaiseFloatError();
    return std::sqrt(x);
}

// For values formed by products and sums only: they may overflow, but they
// must not go on as infinities.
inline long double CheckFinite(long double x)
{
    if (!std::isfinite(x))
        RaiseFloatError();
    return x;
}
