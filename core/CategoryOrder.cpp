#include "core/CategoryOrder.h"

#include <cstddef>
#include <string>

namespace {

// One code point at `p`, moved past; a byte that starts no valid sequence
// stands for itself.
char32_t next(std::string_view text, std::size_t &p)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(p);
    const int length = lead < 0x80 ? 1
        : (lead >> 5) == 6         ? 2
        : (lead >> 4) == 14        ? 3
        : (lead >> 3) == 30        ? 4
                                   : 0;
    if (length <= 1 || p + static_cast<std::size_t>(length) > text.size()) {
        ++p;
        return lead;
    }
    char32_t code = lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        if ((byte(p + static_cast<std::size_t>(k)) & 0xC0) != 0x80) {
            ++p;
            return lead;
        }
        code = (code << 6) | (byte(p + static_cast<std::size_t>(k)) & 0x3F);
    }
    p += static_cast<std::size_t>(length);
    return code;
}

char32_t folded(char32_t c)
{
    if (c >= 0xFF01 && c <= 0xFF5E) // full-width ASCII forms
        c -= 0xFEE0;
    if (c >= 'A' && c <= 'Z')
        c += 'a' - 'A';
    if (c >= 0x30A1 && c <= 0x30F6) // katakana to hiragana
        c -= 0x60;
    return c;
}

bool isDigit(char32_t c)
{
    return c >= '0' && c <= '9';
}

// The digits of the run that starts at `p` (folded), without leading zeros.
std::u32string digitRun(std::string_view text, std::size_t &p)
{
    std::u32string digits;
    while (p < text.size()) {
        std::size_t after = p;
        const char32_t c = folded(next(text, after));
        if (!isDigit(c))
            break;
        if (!(digits.empty() && c == '0'))
            digits += c;
        p = after;
    }
    return digits;
}

// -1, 0 or 1 as a is before, level with or after b in the folded order.
int compareFolded(std::string_view a, std::string_view b)
{
    std::size_t p = 0;
    std::size_t q = 0;
    while (p < a.size() && q < b.size()) {
        std::size_t p1 = p;
        std::size_t q1 = q;
        const char32_t x = folded(next(a, p1));
        const char32_t y = folded(next(b, q1));
        if (isDigit(x) && isDigit(y)) {
            const std::u32string m = digitRun(a, p);
            const std::u32string n = digitRun(b, q);
            if (m.size() != n.size())
                return m.size() < n.size() ? -1 : 1;
            if (m != n)
                return m < n ? -1 : 1;
            continue;
        }
        if (x != y)
            return x < y ? -1 : 1;
        p = p1;
        q = q1;
    }
    if (p < a.size() || q < b.size())
        return p < a.size() ? 1 : -1;
    return 0;
}

} // namespace

bool CategoryLess(std::string_view a, std::string_view b)
{
    const int order = compareFolded(a, b);
    return order != 0 ? order < 0 : a < b;
}
