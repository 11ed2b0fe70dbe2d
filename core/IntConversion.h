#pragma once

#include <cstdint>
#include <string_view>

// Converts the text of a count cell or of the dimension box to a 32-bit
// signed integer, the way the user types it:
// - blanks (code 32 only) before the number are skipped;
// - an optional "-" or "+" follows, directly before the digits;
// - then decimal digits, or hexadecimal digits (either case) introduced by
//   "$", "x", "X", "0x" or "0X";
// - at least one digit, and nothing after the digits, not even a blank;
// - the signed value must lie in -2147483648..2147483647. Hexadecimal is a
//   magnitude like decimal, so "$7FFFFFFF" is the largest positive value,
//   "-$80000000" the smallest, and "$FFFFFFFF" is out of range, not -1.
// Anything else, the empty text included, throws ConvertError with the text.
std::int32_t StrToInt32(std::string_view text);
