#pragma once

#include <cstdint>
#include <string_view>

// What a zip archive's central directory promises about its entries, checked
// before the archive is handed to a reader that trusts it. The spreadsheet
// library allocates each entry's stated sizes up front, so a damaged or
// hostile directory (a compressed size of 4 GB in a file of 9 KB) would make
// it ask for gigabytes before it finds the fault.
enum class ZipDirectoryCheck {
    Sound, // every entry lies within the bytes and inflates within the limit
    Damaged, // no directory, or an entry that points outside the bytes
    TooLarge, // an entry (or all of them together) inflates beyond the limit
};

// Walks the end record and the central directory (ZIP64 sizes included) of
// `bytes`; `maxInflated` bounds the sum of the entries' uncompressed sizes.
ZipDirectoryCheck CheckZipDirectory(std::string_view bytes, std::uint64_t maxInflated);
