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

namespace {

// The UTF-8 forms of U+FF10..U+FF19 are EF BC 90..99, of U+FF0B EF BC 8B and
// of U+FF0D EF BC 8D; U+3000 is E3 80 80.
char asciiOfFullWidth(std::string_view text, std::size_t p)
{
    if (text.substr(p, 3) == "\xE3\x80\x80")
        return ' ';
    if (p + 3 > text.size() || text[p] != '\xEF' || text[p + 1] != '\xBC')
        return 0;
    const auto last = static_cast<unsigned char>(text[p + 2]);
    if (last >= 0x90 && last <= 0x99)
        return static_cast<char>('0' + (last - 0x90));
    if (last == 0x8B)
        return '+';
    if (last == 0x8D)
        return '-';
    return 0;
}

} // namespace

std::string FoldFullWidthNumber(std::string_view text)
{
    std::string folded;
    folded.reserve(text.size());
    for (std::size_t p = 0; p < text.size();) {
        if (const char ascii = asciiOfFullWidth(text, p)) {
            folded += ascii;
            p += 3;
        } else {
            folded += text[p++];
        }
    }
    return folded;
}

std::int32_t StrToInt32Typed(std::string_view text)
{
    try {
        return StrToInt32(FoldFullWidthNumber(text));
    } catch (const ConvertError &) {
        throw ConvertError(std::string(text));
    }
}
