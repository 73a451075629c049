#include "platform/VolumeLabel.h"

#include "platform/CodePage.h"
#include "rtl/LittleEndian.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace platform {

namespace {

constexpr std::uint64_t kSectorSize = 2048;
constexpr std::uint64_t kIsoPrimaryDescriptor = 16 * kSectorSize;
constexpr std::uint64_t kUdfAnchorSector = 256;
// A volume descriptor sequence is short; a longer extent is damaged and not followed further.
constexpr std::uint64_t kMaxDescriptorSectors = 64;

template <std::size_t N>
bool ReadAt(std::istream& volume, std::uint64_t offset, std::array<std::uint8_t, N>& buffer) {
    volume.clear();
    volume.seekg(static_cast<std::streamoff>(offset));
    volume.read(reinterpret_cast<char*>(buffer.data()), N);
    return volume.gcount() == static_cast<std::streamsize>(N);
}

std::string TrimTrailing(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0'))
        text.pop_back();
    return text;
}

// A UDF "dstring" of field length 32: compression id (8 or 16), characters, used length last.
std::string DecodeDString(const std::uint8_t* field, std::size_t fieldLength) {
    const std::size_t used = field[fieldLength - 1];
    if (used < 1 || used >= fieldLength)
        return {};
    std::string utf8;
    if (field[0] == 8) {
        utf8 = Ansi1252ToUtf8(std::string(reinterpret_cast<const char*>(field + 1), used - 1));
    } else if (field[0] == 16) {
        for (std::size_t i = 1; i + 1 < used; i += 2) {
            const char32_t c = static_cast<char32_t>(field[i] << 8 | field[i + 1]);
            utf8 += c < 0x100 ? Ansi1252ToUtf8(std::string(1, static_cast<char>(c))) : "?";
        }
    }
    return TrimTrailing(Utf8ToAnsi1252Lossy(utf8));
}

// udev escapes blanks and other bytes in its link names as \xNN.
std::string UnescapeUdevName(const std::string& name) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' &&
            std::isxdigit(static_cast<unsigned char>(name[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(name[i + 3]))) {
            out += static_cast<char>(std::stoi(name.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += name[i];
        }
    }
    return out;
}

std::string LabelFromUdevLinks(const std::string& device) {
    std::error_code error;
    const auto target = std::filesystem::canonical(device, error);
    if (error)
        return {};
    for (std::filesystem::directory_iterator it("/dev/disk/by-label", error), end;
         !error && it != end; it.increment(error)) {
        std::error_code ignored;
        if (std::filesystem::canonical(it->path(), ignored) == target)
            return UnescapeUdevName(it->path().filename().string());
    }
    return {};
}

} // namespace

std::string ReadIso9660Label(std::istream& volume) {
    std::array<std::uint8_t, 72> descriptor{};
    if (!ReadAt(volume, kIsoPrimaryDescriptor, descriptor))
        return {};
    const std::string signature(reinterpret_cast<const char*>(descriptor.data() + 1), 5);
    if (descriptor[0] != 1 || signature != "CD001")
        return {};
    return TrimTrailing(std::string(reinterpret_cast<const char*>(descriptor.data() + 40), 32));
}

std::string ReadUdfLabel(std::istream& volume) {
    std::array<std::uint8_t, 24> anchor{};
    if (!ReadAt(volume, kUdfAnchorSector * kSectorSize, anchor) || anchor[0] != 2 || anchor[1] != 0)
        return {};
    const std::uint64_t sectors =
        std::min<std::uint64_t>(rtl::LoadU32(&anchor[16]) / kSectorSize, kMaxDescriptorSectors);
    const std::uint64_t first = rtl::LoadU32(&anchor[20]);
    for (std::uint64_t sector = first; sector < first + sectors; ++sector) {
        std::array<std::uint8_t, 56> descriptor{};
        if (!ReadAt(volume, sector * kSectorSize, descriptor))
            return {};
        const int tag = descriptor[0] | descriptor[1] << 8;
        if (tag == 1)
            return DecodeDString(descriptor.data() + 24, 32);
        if (tag == 8)
            break;
    }
    return {};
}

std::string ReadVolumeLabel(const std::string& device) {
    std::ifstream volume(device, std::ios::binary);
    if (!volume)
        return LabelFromUdevLinks(device);
    std::string label = ReadIso9660Label(volume);
    return label.empty() ? ReadUdfLabel(volume) : label;
}

} // namespace platform
