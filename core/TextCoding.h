#pragma once

#include "core/FileEncoding.h"

#include <string>
#include <string_view>
#include <vector>

// The charset one file is written in. CP932 files carry no mark; UTF-8 files
// that Quarnet writes always begin with a byte-order mark, so that they are
// recognised without guessing.
enum class TextCharset { Cp932, Utf8WithBom };

inline constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

// Cp932 when each of the texts can be written in CP932 (and `encoding`
// allows it), otherwise Utf8WithBom.
TextCharset ChooseCharset(FileEncoding encoding, const std::vector<std::string> &utf8Texts);

// The bytes of a whole file holding `utf8Text`, byte-order mark included:
// CP932 when `encoding` allows it and DecodeTextFile reads those bytes back
// as the same text, otherwise UTF-8 with its mark.
std::string EncodeTextFile(std::string_view utf8Text, FileEncoding encoding);

// The text of a file's bytes as UTF-8:
// - a UTF-8 byte-order mark means UTF-8; a UTF-16 LE or BE mark, UTF-16;
// - otherwise strictly valid UTF-8 (pure ASCII included) is UTF-8, unless it
//   then holds no Japanese while CP932 decoding gives kana or kanji (short
//   CP932 names can happen to be valid UTF-8);
// - otherwise strict CP932.
// Bytes that fit none of these raise InputError naming the line.
std::string DecodeTextFile(std::string_view bytes);
