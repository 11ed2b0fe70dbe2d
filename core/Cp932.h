#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Conversion between UTF-8 and the Windows Japanese code page 932 through
// glibc iconv's "CP932". Never "SHIFT_JIS": its JIS table turns a backslash
// into a yen sign and rejects the NEC and IBM extensions that CP932 files hold.
//
// A codec keeps its two iconv descriptors open, so one instance serves many
// short texts cheaply; it is not safe to share between threads.
class Cp932Codec {
public:
    Cp932Codec();
    ~Cp932Codec();
    Cp932Codec(const Cp932Codec &) = delete;
    Cp932Codec &operator=(const Cp932Codec &) = delete;

    // The CP932 bytes of a UTF-8 text, or nothing when a character cannot be
    // represented. iconv maps a few characters without complaint to bytes
    // that decode to something else (U+00A5 YEN SIGN becomes a backslash), so
    // the result is decoded again and must give back the very same text.
    std::optional<std::string> encode(std::string_view utf8);

    // Strict decoding: nothing on bytes that are not CP932, with the offset of
    // the first such byte in `errorOffset` when given.
    std::optional<std::string> decode(std::string_view cp932, std::size_t *errorOffset = nullptr);

private:
    void *toCp932_;
    void *fromCp932_;
};
