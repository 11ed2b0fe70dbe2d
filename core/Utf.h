#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Unicode helpers on UTF-8 text, independent of any locale.

// True when `bytes` is strictly valid UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF, no truncated sequence). On failure
// `errorOffset` (when given) receives the offset of the first bad byte.
bool IsValidUtf8(std::string_view bytes, std::size_t *errorOffset = nullptr);

// Decodes UTF-16 (without its byte-order mark) to UTF-8. A lone surrogate or
// an odd byte count fails; `errorLine` then receives the 1-based line of the
// offending code unit.
std::optional<std::string> Utf16ToUtf8(
    std::string_view bytes, bool bigEndian, int *errorLine = nullptr);

// The first `count` UTF-16 code units of a UTF-8 text, as UTF-8. A character
// outside the Basic Multilingual Plane takes two units; when only its first
// unit would fit, it is left out whole rather than split into half a pair.
// Bytes that are not valid UTF-8 count as one unit each and are copied as
// they stand.
std::string FirstUtf16Units(std::string_view utf8, int count);

// True when the text holds a kana or kanji character (hiragana, katakana,
// half-width katakana, CJK ideographs).
bool HoldsKanaOrKanji(std::string_view utf8);

// True when the text holds any character of Japanese writing: kana, kanji,
// CJK punctuation or full-width forms.
bool HoldsJapanese(std::string_view utf8);

// The 1-based line of a byte offset: one more than the line feeds before it.
int LineOfOffset(std::string_view text, std::size_t offset);
