#include "core/TextCoding.h"

#include "core/CoreErrors.h"
#include "core/Cp932.h"
#include "core/Utf.h"

#include <algorithm>

namespace {

[[noreturn]] void throwUnreadable(int line, std::string_view how)
{
    throw InputError::UnreadableBytes(line, how);
}

std::string decodeWithoutMark(std::string_view bytes)
{
    Cp932Codec codec;
    std::size_t utf8Error = 0;
    if (IsValidUtf8(bytes, &utf8Error)) {
        if (!HoldsJapanese(bytes)) {
            const auto asCp932 = codec.decode(bytes);
            if (asCp932 && HoldsKanaOrKanji(*asCp932))
                return *asCp932;
        }
        return std::string(bytes);
    }
    std::size_t cp932Error = 0;
    if (auto text = codec.decode(bytes, &cp932Error))
        return *text;
    // The reading that got further is the likelier one; its stop is the byte
    // the user has to look at.
    throwUnreadable(LineOfOffset(bytes, std::max(utf8Error, cp932Error)),
        "、UTF-8 としても CP932 (Shift_JIS) としても");
}

} // namespace

TextCharset ChooseCharset(FileEncoding encoding, const std::vector<std::string> &utf8Texts)
{
    if (encoding == FileEncoding::Utf8)
        return TextCharset::Utf8WithBom;
    Cp932Codec codec;
    for (const std::string &text : utf8Texts)
        if (!codec.encode(text))
            return TextCharset::Utf8WithBom;
    return TextCharset::Cp932;
}

std::string EncodeTextFile(std::string_view utf8Text, FileEncoding encoding)
{
    if (encoding == FileEncoding::Cp932OrUtf8) {
        // CP932 bytes can happen to be valid UTF-8 holding Japanese ("縺｢" is
        // the UTF-8 of "ぢ"); the reader would take them for UTF-8, so such a
        // text is written in UTF-8 with its mark instead.
        const auto bytes = Cp932Codec().encode(utf8Text);
        if (bytes && (!IsValidUtf8(*bytes) || decodeWithoutMark(*bytes) == utf8Text))
            return *bytes;
    }
    return std::string(Utf8Bom) + std::string(utf8Text);
}

std::string DecodeTextFile(std::string_view bytes)
{
    if (bytes.starts_with(Utf8Bom)) {
        const std::string_view text = bytes.substr(Utf8Bom.size());
        std::size_t error = 0;
        if (!IsValidUtf8(text, &error))
            throwUnreadable(LineOfOffset(text, error), "、UTF-8 として");
        return std::string(text);
    }
    const bool littleEndian = bytes.starts_with("\xFF\xFE");
    if (littleEndian || bytes.starts_with("\xFE\xFF")) {
        int line = 0;
        if (auto text = Utf16ToUtf8(bytes.substr(2), !littleEndian, &line))
            return *text;
        throwUnreadable(line, "、UTF-16 として");
    }
    return decodeWithoutMark(bytes);
}
