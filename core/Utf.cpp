#include "core/Utf.h"

#include <algorithm>

namespace {

constexpr char32_t Invalid = 0xFFFFFFFF;

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Decodes one strictly valid UTF-8 sequence at `pos` and advances past it;
// on a bad sequence returns Invalid and leaves `pos` unchanged.
char32_t decodeAt(std::string_view s, std::size_t &pos)
{
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[pos + k]); };
    const unsigned char lead = at(0);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, cp = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, cp = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, cp = lead & 0x07, minimum = 0x10000;
    } else {
        return Invalid;
    }
    if (pos + length > s.size())
        return Invalid;
    for (int k = 1; k < length; ++k) {
        if (!isContinuation(at(k)))
            return Invalid;
        cp = (cp << 6) | (at(k) & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return Invalid;
    pos += length;
    return cp;
}

void appendUtf8(std::string &out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool isKanaOrKanji(char32_t cp)
{
    return (cp >= 0x3040 && cp <= 0x30FF) // hiragana, katakana
        || (cp >= 0x31F0 && cp <= 0x31FF) // katakana phonetic extensions
        || (cp >= 0x3400 && cp <= 0x4DBF) // CJK extension A
        || (cp >= 0x4E00 && cp <= 0x9FFF) // CJK unified ideographs
        || (cp >= 0xF900 && cp <= 0xFAFF) // CJK compatibility ideographs
        || (cp >= 0xFF66 && cp <= 0xFF9F) // half-width katakana
        || (cp >= 0x20000 && cp <= 0x3FFFF); // CJK extensions B and later
}

bool isJapanese(char32_t cp)
{
    return isKanaOrKanji(cp) || (cp >= 0x3000 && cp <= 0x303F) // CJK punctuation
        || (cp >= 0xFF00 && cp <= 0xFFEF); // full- and half-width forms
}

template <typename Predicate> bool holdsAny(std::string_view utf8, Predicate predicate)
{
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t cp = decodeAt(utf8, pos);
        if (cp == Invalid)
            ++pos;
        else if (predicate(cp))
            return true;
    }
    return false;
}

} // namespace

bool IsValidUtf8(std::string_view bytes, std::size_t *errorOffset)
{
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        if (decodeAt(bytes, pos) == Invalid) {
            if (errorOffset)
                *errorOffset = pos;
            return false;
        }
    }
    return true;
}

std::optional<std::string> Utf16ToUtf8(std::string_view bytes, bool bigEndian, int *errorLine)
{
    const auto unitAt = [&](std::size_t k) -> char16_t {
        const auto first = static_cast<unsigned char>(bytes[2 * k]);
        const auto second = static_cast<unsigned char>(bytes[2 * k + 1]);
        return bigEndian ? char16_t((first << 8) | second) : char16_t((second << 8) | first);
    };
    const std::size_t units = bytes.size() / 2;
    std::string out;
    int line = 1;
    const auto fail = [&]() -> std::optional<std::string> {
        if (errorLine)
            *errorLine = line;
        return std::nullopt;
    };
    for (std::size_t k = 0; k < units; ++k) {
        char32_t cp = unitAt(k);
        if (cp >= 0xDC00 && cp <= 0xDFFF)
            return fail();
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            if (k + 1 >= units || unitAt(k + 1) < 0xDC00 || unitAt(k + 1) > 0xDFFF)
                return fail();
            cp = 0x10000 + ((cp - 0xD800) << 10) + (unitAt(k + 1) - 0xDC00);
            ++k;
        }
        appendUtf8(out, cp);
        if (cp == U'\n')
            ++line;
    }
    if (bytes.size() % 2 != 0)
        return fail();
    return out;
}

std::string FirstUtf16Units(std::string_view utf8, int count)
{
    std::size_t pos = 0;
    int units = 0;
    while (pos < utf8.size()) {
        std::size_t next = pos;
        const char32_t cp = decodeAt(utf8, next);
        const int width = (cp != Invalid && cp >= 0x10000) ? 2 : 1;
        if (units + width > count)
            break;
        units += width;
        pos = (cp == Invalid) ? pos + 1 : next;
    }
    return std::string(utf8.substr(0, pos));
}

bool HoldsKanaOrKanji(std::string_view utf8)
{
    return holdsAny(utf8, isKanaOrKanji);
}

bool HoldsJapanese(std::string_view utf8)
{
    return holdsAny(utf8, isJapanese);
}

int LineOfOffset(std::string_view text, std::size_t offset)
{
    offset = std::min(offset, text.size());
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + offset, '\n'));
}
