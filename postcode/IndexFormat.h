#pragma once
// The postcode index file as it lies on disk, shared by the writer and the reader. Everything is
// little-endian and read through memcpy, so the file needs no alignment and a damaged one cannot trap.
//
//   header (kHeaderSize bytes)
//     0  magic "ZRPCIDX\x1A"      8  u32 version               12 u32 header size
//    16  u64 file size           24  char[16] data date "YYYY-MM-DD", NUL padded
//    40  u32 standard entries    44  u32 business entries      48  u32 distinct codes
//    52  u32 checksum: CRC-32 of the whole file with these four bytes taken as zeros
//    56  five sections, each u32 offset + u32 count: strings (bytes), cities, extras, entries, towns
//   strings  a byte 0 (the empty string), then each distinct text once as u8 length + CP932 bytes;
//            a text is referred to by its offset here
//   cities   {u32 prefecture, u32 city}                           (text offsets)
//   extras   {u32 street, u32 office, u32 chome}                  (text offsets; chome as "1-19,21")
//   entries  {u32 code, u16 city, u16 flags, u32 town, u32 extra}, sorted by code, data order within
//            a code; extra is kNoExtra for a plain town
//   towns    u32 entry numbers of the standard entries, sorted by prefecture + city + town bytes
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <zlib.h>

namespace postcode::format {

static_assert(std::endian::native == std::endian::little, "the index is read in place as little-endian");

inline constexpr std::string_view kMagic{"ZRPCIDX\x1A", 8};
inline constexpr std::uint32_t kVersion = 2; // 1 had no checksum
inline constexpr std::size_t kHeaderSize = 96;
inline constexpr std::size_t kDateOffset = 24;
inline constexpr std::size_t kDateSize = 16;
inline constexpr std::size_t kCountsOffset = 40;
inline constexpr std::size_t kChecksumOffset = 52;
inline constexpr std::size_t kSectionsOffset = 56;

enum Section { kStrings, kCities, kExtras, kEntries, kTowns, kSectionCount };
// Bytes per record of each section (the strings section counts bytes).
inline constexpr std::size_t kRecordSize[kSectionCount] = {1, 8, 12, 16, 4};

inline constexpr std::uint32_t kNoExtra = 0xFFFFFFFF;
inline constexpr std::uint16_t kFlagBusiness = 1;
inline constexpr std::size_t kMaxText = 255;

inline std::uint32_t Get32(const char* p) {
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline std::uint16_t Get16(const char* p) {
    std::uint16_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline std::uint64_t Get64(const char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// The checksum of a whole index file (at least kHeaderSize bytes).
inline std::uint32_t Checksum(std::string_view file) {
    static constexpr unsigned char zeros[4] = {};
    auto crc = [](uLong c, const void* p, std::size_t n) {
        return crc32_z(c, static_cast<const Bytef*>(p), n);
    };
    uLong c = crc(crc32_z(0, nullptr, 0), file.data(), kChecksumOffset);
    c = crc(c, zeros, sizeof zeros);
    c = crc(c, file.data() + kChecksumOffset + 4, file.size() - kChecksumOffset - 4);
    return static_cast<std::uint32_t>(c);
}

} // namespace postcode::format
