#include "core/ZipDirectory.h"

#include <cstddef>
#include <optional>

namespace {

constexpr std::uint32_t EndSignature = 0x06054b50;
constexpr std::uint32_t CentralSignature = 0x02014b50;
constexpr std::uint32_t LocalSignature = 0x04034b50;
constexpr std::size_t EndSize = 22;
constexpr std::size_t CentralSize = 46;
constexpr std::size_t LocalSize = 30;
constexpr std::uint32_t Escaped32 = 0xFFFFFFFF; // the real value is in the ZIP64 field
constexpr std::uint16_t Zip64Field = 0x0001;
constexpr std::uint64_t Stored = 0;
constexpr std::uint64_t Deflated = 8;
// Deflate cannot do better than about 1032 to 1 (a 258-byte match in two
// bits), so an entry stated to inflate further is lying about its size.
constexpr std::uint64_t DeflateRatio = 1032;
constexpr std::uint64_t DeflateSlack = 1024;

// Little-endian fields read within bounds: a field past the end is absent.
class Reader {
public:
    explicit Reader(std::string_view bytes)
        : bytes_(bytes)
    {
    }

    std::optional<std::uint64_t> le(std::uint64_t at, int width) const
    {
        if (at > bytes_.size() || bytes_.size() - at < static_cast<std::uint64_t>(width))
            return std::nullopt;
        std::uint64_t value = 0;
        for (int i = width - 1; i >= 0; --i)
            value = (value << 8) | static_cast<unsigned char>(bytes_[at + i]);
        return value;
    }
    std::uint64_t size() const { return bytes_.size(); }

private:
    std::string_view bytes_;
};

// The end record lies in the last 64 KiB + 22 bytes (its comment is at most
// 65,535 bytes); the last signature found is the one readers use.
std::optional<std::uint64_t> findEndRecord(const Reader &in)
{
    if (in.size() < EndSize)
        return std::nullopt;
    const std::uint64_t lowest = in.size() > EndSize + 0xFFFF ? in.size() - EndSize - 0xFFFF : 0;
    for (std::uint64_t at = in.size() - EndSize + 1; at-- > lowest;)
        if (in.le(at, 4) == EndSignature)
            return at;
    return std::nullopt;
}

struct EntrySizes {
    std::uint64_t compressed;
    std::uint64_t inflated;
    std::uint64_t localOffset;
};

// The 32-bit fields that hold 0xFFFFFFFF continue, in this order, in the
// entry's ZIP64 extra field.
std::optional<EntrySizes> widen(
    const Reader &in, std::uint64_t extra, std::uint64_t extraEnd, EntrySizes sizes)
{
    const bool wide[] = { sizes.inflated == Escaped32, sizes.compressed == Escaped32,
        sizes.localOffset == Escaped32 };
    if (!wide[0] && !wide[1] && !wide[2])
        return sizes;
    while (extra + 4 <= extraEnd) {
        const auto id = in.le(extra, 2), length = in.le(extra + 2, 2);
        if (!id || !length || extra + 4 + *length > extraEnd)
            return std::nullopt;
        if (*id == Zip64Field) {
            std::uint64_t at = extra + 4;
            std::uint64_t *fields[] = { &sizes.inflated, &sizes.compressed, &sizes.localOffset };
            for (int i = 0; i < 3; ++i) {
                if (!wide[i])
                    continue;
                if (at + 8 > extra + 4 + *length)
                    return std::nullopt;
                *fields[i] = *in.le(at, 8);
                at += 8;
            }
            return sizes;
        }
        extra += 4 + *length;
    }
    return std::nullopt;
}

} // namespace

ZipDirectoryCheck CheckZipDirectory(
    std::string_view bytes, std::uint64_t maxInflated, std::vector<ZipEntry> *entries)
{
    const Reader in(bytes);
    const auto end = findEndRecord(in);
    if (!end)
        return ZipDirectoryCheck::Damaged;
    const std::uint64_t count = *in.le(*end + 10, 2);
    const std::uint64_t directorySize = *in.le(*end + 12, 4);
    std::uint64_t at = *in.le(*end + 16, 4);
    // An archive of more entries or a larger directory than these fields
    // hold needs the ZIP64 end record; no workbook this program reads does.
    if (count == 0xFFFF || directorySize == Escaped32 || at == Escaped32)
        return ZipDirectoryCheck::Damaged;
    if (at + directorySize > *end)
        return ZipDirectoryCheck::Damaged;

    std::uint64_t inflatedTotal = 0;
    std::vector<ZipEntry> found;
    // Readers differ in what they believe: the count, the directory's size,
    // or the signatures (the library walks on while they follow). All three
    // must tell the same entries.
    const std::uint64_t directoryEnd = at + directorySize;
    while (in.le(at, 4) == CentralSignature) {
        if (at + CentralSize > *end)
            return ZipDirectoryCheck::Damaged;
        const std::uint64_t nameLength = *in.le(at + 28, 2), extraLength = *in.le(at + 30, 2),
                            commentLength = *in.le(at + 32, 2);
        const std::uint64_t extra = at + CentralSize + nameLength;
        if (extra + extraLength + commentLength > *end)
            return ZipDirectoryCheck::Damaged;
        const auto sizes = widen(in, extra, extra + extraLength,
            { *in.le(at + 20, 4), *in.le(at + 24, 4), *in.le(at + 42, 4) });
        if (!sizes)
            return ZipDirectoryCheck::Damaged;
        // The entry's data follows its local header, all within the bytes.
        const std::uint64_t local = sizes->localOffset;
        if (local >= *end || in.le(local, 4) != LocalSignature)
            return ZipDirectoryCheck::Damaged;
        const auto localName = in.le(local + 26, 2), localExtra = in.le(local + 28, 2);
        if (!localName || !localExtra)
            return ZipDirectoryCheck::Damaged;
        const std::uint64_t data = local + LocalSize + *localName + *localExtra;
        if (data > in.size() || sizes->compressed > in.size() - data)
            return ZipDirectoryCheck::Damaged;
        const std::uint64_t method = *in.le(at + 10, 2);
        if ((method == Stored && sizes->inflated != sizes->compressed)
            || (method == Deflated
                && sizes->inflated > sizes->compressed * DeflateRatio + DeflateSlack))
            return ZipDirectoryCheck::Damaged;
        if (sizes->inflated > maxInflated || inflatedTotal > maxInflated - sizes->inflated)
            return ZipDirectoryCheck::TooLarge;
        inflatedTotal += sizes->inflated;
        found.push_back({ std::string(bytes.substr(at + CentralSize, nameLength)), sizes->inflated,
            static_cast<std::uint32_t>(*in.le(at + 16, 4)) });
        at = extra + extraLength + commentLength;
    }
    if (at != directoryEnd || found.size() != count)
        return ZipDirectoryCheck::Damaged;
    if (entries)
        entries->insert(entries->end(), found.begin(), found.end());
    return ZipDirectoryCheck::Sound;
}
