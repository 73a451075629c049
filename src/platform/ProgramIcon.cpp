#include "platform/ProgramIcon.h"

#include <cstdint>
#include <fstream>
#include <iterator>

namespace platform {

namespace {

constexpr std::uint32_t kResourceDirectory = 2;
constexpr std::uint32_t kIconType = 3;
constexpr std::uint32_t kIconGroupType = 14;
constexpr std::uint32_t kSubdirectoryBit = 0x80000000U;
constexpr std::size_t kGroupHeaderSize = 6;
constexpr std::size_t kGroupEntrySize = 14;
constexpr std::size_t kIcoHeaderSize = 6 + 16;
constexpr std::uintmax_t kLargestProgram = 64U * 1024U * 1024U;

// Bounded little-endian reads; a read outside the image makes the reader fail for good.
class ImageReader {
public:
    explicit ImageReader(std::string_view image) : image_(image) {}

    bool Failed() const { return failed_; }
    void Fail() { failed_ = true; }

    std::uint32_t U8(std::uint64_t at) { return Byte(at, 1, 0); }
    std::uint32_t U16(std::uint64_t at) { return Byte(at, 2, 0) | Byte(at, 2, 1) << 8; }
    std::uint32_t U32(std::uint64_t at) {
        return Byte(at, 4, 0) | Byte(at, 4, 1) << 8 | Byte(at, 4, 2) << 16 | Byte(at, 4, 3) << 24;
    }
    std::string_view Bytes(std::uint64_t at, std::uint64_t size) {
        if (!Holds(at, size)) {
            failed_ = true;
            return {};
        }
        return image_.substr(at, size);
    }

private:
    bool Holds(std::uint64_t at, std::uint64_t size) const {
        return at <= image_.size() && size <= image_.size() - at;
    }
    std::uint32_t Byte(std::uint64_t at, std::uint64_t width, std::uint64_t index) {
        if (!Holds(at, width)) {
            failed_ = true;
            return 0;
        }
        return static_cast<std::uint8_t>(image_[at + index]);
    }

    std::string_view image_;
    bool failed_ = false;
};

// The sections of a PE image and its resource tree, addressed by relative virtual addresses.
class PeImage {
public:
    explicit PeImage(std::string_view image) : in_(image) { ReadHeaders(); }

    bool Valid() const { return !in_.Failed() && resourceRva_ != 0; }

    // The data of the first resource of type with id (any id when 0): its first language.
    std::string_view Resource(std::uint32_t type, std::uint32_t id) {
        const std::uint32_t names = Entry(0, type, false);
        const std::uint32_t languages = Entry(names, id, id == 0);
        const std::uint32_t dataEntry = Entry(languages, 0, true);
        if (in_.Failed() || (dataEntry & kSubdirectoryBit) != 0)
            return {};
        const std::uint64_t at = ResourceOffset(dataEntry);
        const std::uint32_t rva = in_.U32(at);
        const std::uint32_t size = in_.U32(at + 4);
        return in_.Bytes(FileOffset(rva, size), size);
    }

    ImageReader& Reader() { return in_; }

private:
    void ReadHeaders() {
        if (in_.U16(0) != 0x5A4D)
            return in_.Fail();
        const std::uint64_t pe = in_.U32(0x3C);
        if (in_.U32(pe) != 0x00004550)
            return in_.Fail();
        sectionCount_ = in_.U16(pe + 6);
        const std::uint64_t optional = pe + 24;
        const std::uint32_t magic = in_.U16(optional);
        const std::uint64_t directories = optional + (magic == 0x20B ? 112 : 96);
        if (magic != 0x10B && magic != 0x20B)
            return in_.Fail();
        const std::uint32_t directoryCount = in_.U32(directories - 4);
        if (directoryCount <= kResourceDirectory)
            return in_.Fail();
        resourceRva_ = in_.U32(directories + 8 * kResourceDirectory);
        sections_ = optional + in_.U16(pe + 20);
        resourceStart_ = FileOffset(resourceRva_, 16);
    }

    // The file offset of size bytes at rva, through the section that holds them.
    std::uint64_t FileOffset(std::uint32_t rva, std::uint32_t size) {
        for (std::uint32_t i = 0; i < sectionCount_ && !in_.Failed(); ++i) {
            const std::uint64_t header = sections_ + 40ULL * i;
            const std::uint32_t address = in_.U32(header + 12);
            const std::uint32_t rawSize = in_.U32(header + 16);
            const std::uint32_t rawStart = in_.U32(header + 20);
            if (rva >= address && std::uint64_t{rva} - address + size <= rawSize)
                return std::uint64_t{rawStart} + (rva - address);
        }
        in_.Fail();
        return 0;
    }

    std::uint64_t ResourceOffset(std::uint32_t offset) {
        return resourceStart_ + (offset & ~kSubdirectoryBit);
    }

    // The entry of the directory at offset whose id matches (or its first entry when any).
    std::uint32_t Entry(std::uint32_t directory, std::uint32_t id, bool any) {
        if (in_.Failed() || (directory != 0 && (directory & kSubdirectoryBit) == 0)) {
            in_.Fail();
            return 0;
        }
        const std::uint64_t at = ResourceOffset(directory);
        const std::uint32_t count = in_.U16(at + 12) + in_.U16(at + 14);
        for (std::uint32_t i = 0; i < count && !in_.Failed(); ++i) {
            const std::uint64_t entry = at + 16 + 8ULL * i;
            if (any || in_.U32(entry) == id)
                return in_.U32(entry + 4);
        }
        in_.Fail();
        return 0;
    }

    ImageReader in_;
    std::uint32_t sectionCount_ = 0;
    std::uint64_t sections_ = 0;
    std::uint32_t resourceRva_ = 0;
    std::uint64_t resourceStart_ = 0;
};

void AppendLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace

std::optional<std::string> FirstIconOfProgram(std::string_view image) {
    PeImage pe(image);
    if (!pe.Valid())
        return std::nullopt;
    const std::string_view group = pe.Resource(kIconGroupType, 0);
    ImageReader entry(group);
    const std::uint32_t count = entry.U16(4);
    const std::string_view first = entry.Bytes(kGroupHeaderSize, kGroupEntrySize);
    if (entry.Failed() || count == 0)
        return std::nullopt;
    const std::uint32_t iconId = entry.U16(kGroupHeaderSize + 12);
    const std::string_view picture = pe.Resource(kIconType, iconId);
    if (pe.Reader().Failed() || picture.empty())
        return std::nullopt;

    // The .ico file: its header, one directory entry (the group's, with the offset of the
    // picture in place of the resource id) and the picture.
    std::string ico;
    AppendLittleEndian(ico, 0, 2);
    AppendLittleEndian(ico, 1, 2);
    AppendLittleEndian(ico, 1, 2);
    ico.append(first.substr(0, 8));
    AppendLittleEndian(ico, static_cast<std::uint32_t>(picture.size()), 4);
    AppendLittleEndian(ico, kIcoHeaderSize, 4);
    ico.append(picture);
    return ico;
}

std::optional<std::string> ExtractFirstIcon(const std::string& nativePath) {
    std::ifstream file(nativePath, std::ios::binary | std::ios::ate);
    if (!file)
        return std::nullopt;
    const std::streamoff size = file.tellg();
    if (size < 0 || static_cast<std::uintmax_t>(size) > kLargestProgram)
        return std::nullopt;
    file.seekg(0);
    const std::string image{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return FirstIconOfProgram(image);
}

} // namespace platform
