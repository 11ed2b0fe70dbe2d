#pragma once

#include <cstdint>
#include <string>
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

// The text with the full-width forms an input method types for a number
// read as their ASCII forms: the digits "０"-"９", the signs "－" and "＋"
// and the ideographic blank "　" (U+3000). Every other character is kept.
std::string FoldFullWidthNumber(std::string_view text);

// StrToInt32 of a count or a dimension number as the user types it: the
// full-width forms folded first. The error names the text as typed.
std::int32_t StrToInt32Typed(std::string_view text);
