// ZIP archives for tests: real ones written by libzip, and raw ones put together byte by byte for
// what libzip will not write (other methods, encryption flags, wrong CRCs, lying sizes, names in
// code page 437).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace testing_support {

std::uint32_t Crc32(std::string_view bytes);

// One member of a raw archive; data is stored as given, whatever the method says.
struct RawMember {
    std::string name; // bytes as stored
    std::string data;
    std::uint16_t method = 0;
    std::uint16_t flags = 0; // general purpose bits: 0x0001 encrypted, 0x0800 UTF-8 name
    std::optional<std::uint32_t> crc = std::nullopt; // default: CRC-32 of data
    // Default: data.size(); from 4 GiB on it is stored in a Zip64 field.
    std::optional<std::uint64_t> uncompressedSize = std::nullopt;
    std::uint8_t system = 0; // 0 DOS, 3 Unix
    std::uint32_t externalAttributes = 0;
};

// Local headers with data, central directory, end record (and Zip64 records where needed).
std::string RawZip(const std::vector<RawMember>& members);

// The offset of the end of central directory record in a raw archive.
std::size_t EndRecordOffset(const std::string& archive);

struct ZipEntry {
    std::string name; // UTF-8; a folder ends in "/"
    std::string data;
    bool deflate = true;
    bool readOnly = false;             // DOS read-only attribute
    std::int64_t modified = 820000000; // seconds since 1970
};

// Writes a real archive with libzip.
void WriteZip(const std::string& path, const std::vector<ZipEntry>& entries);

} // namespace testing_support
