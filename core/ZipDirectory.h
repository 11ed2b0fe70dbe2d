#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

// An entry as the directory names it: its inflated size and their CRC-32.
struct ZipEntry {
    std::string name;
    std::uint64_t inflated = 0;
    std::uint32_t crc = 0;
};

// Walks the end record and the central directory (ZIP64 sizes included) of
// `bytes`; `maxInflated` bounds the sum of the entries' uncompressed sizes.
// When `entries` is given, a sound directory's entries are added to it.
ZipDirectoryCheck CheckZipDirectory(
    std::string_view bytes, std::uint64_t maxInflated, std::vector<ZipEntry> *entries = nullptr);
