// The integer conversion of count cells and of the dimension box, against a
// reference written from its rules alone, and its round trip: a converted
// integer printed (form I) and converted again is the same integer. The
// decimal reading of weighted tables round-trips alike: a decimal read,
// written in its places and read again is the same decimal.
#include "FuzzTargets.h"

#include "core/CoreErrors.h"
#include "core/DecimalCounts.h"
#include "core/IntConversion.h"
#include "core/NumberForms.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

namespace {

int Digit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

// The rules: blanks (code 32) first, an optional sign, then decimal digits
// or hexadecimal ones after "$", "x", "X", "0x" or "0X"; at least one digit,
// nothing after them, and the signed value in 32 bits.
std::optional<std::int32_t> Reference(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    for (std::string_view prefix : { "$", "x", "X", "0x", "0X" })
        if (text.starts_with(prefix) && text.size() > prefix.size()) {
            // "0x" needs a digit after it; "0" alone before an "x" is decimal 0
            // followed by a stray letter either way.
            base = 16;
            text.remove_prefix(prefix.size());
            break;
        }
    if (text.empty())
        return std::nullopt;
    // Leading zeros can be arbitrarily many, so the value is built in a wide
    // type and checked for each digit.
    std::int64_t magnitude = 0;
    for (char c : text) {
        if (Digit(c) >= base)
            return std::nullopt;
        magnitude = magnitude * base + Digit(c);
        if (magnitude > (std::int64_t{ 1 } << 31))
            return std::nullopt;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

void decimalRoundTrip(const std::string &text)
{
    const std::optional<TypedDecimal> decimal = ParseTypedDecimal(text);
    if (!decimal || decimal->digits > static_cast<std::uint64_t>(INT64_MAX))
        return;
    if (decimal->places > 0 && decimal->digits % 10 == 0)
        FuzzFinding("'" + text + "' kept a trailing zero");
    const std::string written
        = UnitsText(static_cast<std::int64_t>(decimal->digits), std::min(decimal->places, 30));
    const std::optional<TypedDecimal> again = ParseTypedDecimal(written);
    if (decimal->places <= 30
        && (!again || again->digits != decimal->digits || again->places != decimal->places))
        FuzzFinding("'" + text + "' written as '" + written + "' does not read back");
}

} // namespace

void FuzzIntConversion(std::string_view bytes)
{
    decimalRoundTrip(std::string(bytes));
    const std::string text(bytes);
    const std::optional<std::int32_t> expected = Reference(text);
    std::int32_t value = 0;
    try {
        value = StrToInt32(text);
    } catch (const ConvertError &e) {
        // what() is a C string: a NUL in the text ends the message there.
        const std::string message = "''" + text + "'' は整数ではありません";
        if (e.what() != message.substr(0, message.find('\0')))
            FuzzFinding("conversion message '" + std::string(e.what()) + "'");
        if (expected)
            FuzzFinding("'" + text + "' was refused, expected " + std::to_string(*expected));
        return;
    }
    if (!expected || *expected != value)
        FuzzFinding("'" + text + "' gave " + std::to_string(value) + ", expected "
            + (expected ? std::to_string(*expected) : "a refusal"));
    const std::string printed = FormI(value);
    if (printed != std::to_string(value))
        FuzzFinding("form I of " + std::to_string(value) + " is '" + printed + "'");
    if (StrToInt32(printed) != value)
        FuzzFinding("'" + printed + "' does not convert back to " + std::to_string(value));
}
