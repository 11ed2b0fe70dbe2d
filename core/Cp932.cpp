#include "core/Cp932.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace {

iconv_t openOrThrow(const char *to, const char *from)
{
    const iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    return cd;
}

// Converts the whole input without substitution; nothing on the first byte
// that does not convert (or an incomplete sequence at the end).
std::optional<std::string> convert(void *descriptor, std::string_view in, std::size_t *errorOffset)
{
    const auto cd = static_cast<iconv_t>(descriptor);
    iconv(cd, nullptr, nullptr, nullptr, nullptr); // back to the initial state
    std::string out(in.size() * 2 + 16, '\0');
    char *inPtr = const_cast<char *>(in.data());
    std::size_t inLeft = in.size();
    std::size_t produced = 0;
    while (inLeft > 0) {
        char *outPtr = out.data() + produced;
        std::size_t outLeft = out.size() - produced;
        const std::size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        produced = static_cast<std::size_t>(outPtr - out.data());
        if (result != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        if (errorOffset)
            *errorOffset = static_cast<std::size_t>(inPtr - in.data());
        return std::nullopt;
    }
    out.resize(produced);
    return out;
}

bool isAscii(std::string_view text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

Cp932Codec::Cp932Codec()
    : toCp932_(openOrThrow("CP932", "UTF-8"))
    , fromCp932_(openOrThrow("UTF-8", "CP932"))
{
}

Cp932Codec::~Cp932Codec()
{
    iconv_close(static_cast<iconv_t>(toCp932_));
    iconv_close(static_cast<iconv_t>(fromCp932_));
}

std::optional<std::string> Cp932Codec::encode(std::string_view utf8)
{
    // CP932 holds ASCII unchanged; most pieces of a report are numbers.
    if (isAscii(utf8))
        return std::string(utf8);
    auto bytes = convert(toCp932_, utf8, nullptr);
    if (!bytes)
        return std::nullopt;
    const auto back = convert(fromCp932_, *bytes, nullptr);
    if (!back || *back != utf8)
        return std::nullopt;
    return bytes;
}

std::optional<std::string> Cp932Codec::decode(std::string_view cp932, std::size_t *errorOffset)
{
    return convert(fromCp932_, cp932, errorOffset);
}
