#include "core/NumberForms.h"

#include "analysis/Errors.h"
#include "analysis/ExtMath.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// |value| = 0.d1 d2 ... d18 x 10^(exponent + 1), i.e. d1.d2...d18 x 10^exponent,
// for a finite non-zero value.
struct Decimal18 {
    std::string digits; // exactly 18 digits, the first non-zero
    int exponent = 0;
};

Decimal18 toDecimal18(long double value)
{
    if (!std::isfinite(value))
        RaiseFloatError();
    char text[64];
    std::snprintf(text, sizeof text, "%.17Le", std::fabs(value));
    // text is "d.ddddddddddddddddde[+-]x..."
    Decimal18 decimal;
    decimal.digits = std::string(1, text[0]) + std::string(text + 2, 17);
    decimal.exponent = std::atoi(text + 20);
    return decimal;
}

// Adds one unit in the last place of a digit string; true when the carry
// ran out of the front (all nines became "1" followed by zeros).
bool incrementDigits(std::string &digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return false;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
    return true;
}

std::string padLeft(std::string text, int width)
{
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

// The digits of round(|value| * 10^decimals), half away from zero, taken
// from the 18-digit form.
std::string scaledRoundedDigits(long double value, int decimals)
{
    if (value == 0.0L)
        return "0";
    const Decimal18 decimal = toDecimal18(value);
    // value = digits x 10^(exponent - 17); the wanted integer is
    // digits x 10^shift.
    const int shift = decimal.exponent - 17 + decimals;
    if (shift >= 0)
        return decimal.digits + std::string(static_cast<std::size_t>(shift), '0');
    const int drop = -shift;
    if (drop > 18)
        return "0";
    const auto keep = 18 - static_cast<std::size_t>(drop);
    std::string kept = keep > 0 ? decimal.digits.substr(0, keep) : std::string(1, '0');
    if (decimal.digits[keep] >= '5')
        incrementDigits(kept);
    return kept;
}

} // namespace

std::string FormI(std::int32_t value)
{
    return std::to_string(value);
}

std::string FormI(std::int32_t value, int width)
{
    return padLeft(FormI(value), width);
}

std::string FormF(long double value, int width, int decimals)
{
    std::string digits = scaledRoundedDigits(value, decimals);
    const auto needed = static_cast<std::size_t>(decimals) + 1;
    if (digits.size() < needed)
        digits.insert(0, needed - digits.size(), '0');
    if (decimals > 0)
        digits.insert(digits.size() - static_cast<std::size_t>(decimals), 1, '.');
    if (value < 0.0L)
        digits.insert(0, 1, '-');
    return padLeft(std::move(digits), width);
}

std::string FormE(long double value)
{
    if (value == 0.0L)
        return " 0.00000000000000E+0000";
    const Decimal18 decimal = toDecimal18(value);
    std::string digits = decimal.digits.substr(0, 15);
    int exponent = decimal.exponent;
    if (decimal.digits[15] >= '5' && incrementDigits(digits)) {
        digits.pop_back();
        ++exponent;
    }
    char tail[16];
    std::snprintf(tail, sizeof tail, "E%c%04d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return std::string(value < 0.0L ? "-" : " ") + digits[0] + "." + digits.substr(1) + tail;
}
