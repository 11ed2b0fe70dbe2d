#include "core/IntConversion.h"

#include "core/CoreErrors.h"

#include <string>

namespace {

int digitValue(char c, int base)
{
    int value = 99;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

} // namespace

std::int32_t StrToInt32(std::string_view text)
{
    const auto fail = [&]() { return ConvertError(std::string(text)); };
    std::size_t p = 0;
    while (p < text.size() && text[p] == ' ')
        ++p;
    bool negative = false;
    if (p < text.size() && (text[p] == '-' || text[p] == '+'))
        negative = text[p++] == '-';
    int base = 10;
    if (p < text.size() && (text[p] == '$' || text[p] == 'x' || text[p] == 'X')) {
        base = 16;
        p += 1;
    } else if (p + 1 < text.size() && text[p] == '0'
        && (text[p + 1] == 'x' || text[p + 1] == 'X')) {
        base = 16;
        p += 2;
    }
    if (p == text.size())
        throw fail();
    // 2^31 is the largest magnitude of any 32-bit value; stopping above it
    // keeps the accumulator far from its own overflow.
    constexpr std::int64_t Limit = std::int64_t{ 1 } << 31;
    std::int64_t magnitude = 0;
    for (; p < text.size(); ++p) {
        const int digit = digitValue(text[p], base);
        if (digit < 0)
            throw fail();
        magnitude = magnitude * base + digit;
        if (magnitude > Limit)
            throw fail();
    }
    if (!negative && magnitude == Limit)
        throw fail();
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}
