#pragma once

#include <cstdint>
#include <string>

// The number forms of the report.

// I: the integer in decimal, "-" before a negative value, no blanks.
std::string FormI(std::int32_t value);

// I(w): FormI preceded by blanks up to `width` characters; a longer text is
// returned whole.
std::string FormI(std::int32_t value, int width);

// F(w.d): fixed point with exactly `decimals` decimals and at least one digit
// before the point. The value is first written with 18 significant decimal
// digits (correctly rounded from its binary value), and those digits are then
// rounded half away from zero to `decimals` places, so a value whose 18-digit
// form ends in 5 rounds up in magnitude. A negative value keeps its minus
// sign even when every digit rounds to zero ("-0.000"); negative zero is zero
// and has none. Padded with blanks to `width`, returned whole when longer.
// Throws FloatError for an infinity or NaN, which the arithmetic never lets
// through.
std::string FormF(long double value, int width, int decimals);

// E: exactly 23 characters: a blank or "-", one digit, ".", 14 digits, "E",
// the exponent's sign and its value in 4 digits. The 18-digit form of the
// value is rounded half away from zero to 15 significant digits. Zero (also
// negative zero) is " 0.00000000000000E+0000".
std::string FormE(long double value);
