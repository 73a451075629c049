#include "support/ZipFiles.h"

#include <array>
#include <stdexcept>
#include <zip.h>

namespace testing_support {

namespace {

constexpr std::uint32_t kZip64Limit = 0xFFFFFFFF;

void Put16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void Put64(std::string& out, std::uint64_t value) {
    Put32(out, static_cast<std::uint32_t>(value));
    Put32(out, static_cast<std::uint32_t>(value >> 32));
}

struct MemberFields {
    std::uint32_t crc;
    std::uint64_t size;
    bool zip64;
};

MemberFields FieldsOf(const RawMember& member) {
    const std::uint64_t size = member.uncompressedSize.value_or(member.data.size());
    return {member.crc.value_or(Crc32(member.data)), size, size >= kZip64Limit};
}

// Version, flags, method, time, date, CRC and the two sizes: shared by both headers.
void PutCommonFields(std::string& out, const RawMember& member, const MemberFields& fields) {
    Put16(out, fields.zip64 ? 45 : 20);
    Put16(out, member.flags);
    Put16(out, member.method);
    Put16(out, 0x6000); // 12:00
    Put16(out, 0x2021); // 1996-01-01
    Put32(out, fields.crc);
    Put32(out, fields.zip64 ? kZip64Limit : static_cast<std::uint32_t>(member.data.size()));
    Put32(out, fields.zip64 ? kZip64Limit : static_cast<std::uint32_t>(fields.size));
    Put16(out, static_cast<std::uint32_t>(member.name.size()));
}

std::string Zip64Extra(const RawMember& member, const MemberFields& fields,
                       std::optional<std::uint64_t> offset) {
    if (!fields.zip64)
        return {};
    std::string extra;
    Put16(extra, 0x0001);
    Put16(extra, offset ? 24 : 16);
    Put64(extra, fields.size);
    Put64(extra, member.data.size());
    if (offset)
        Put64(extra, *offset);
    return extra;
}

} // namespace

std::uint32_t Crc32(std::string_view bytes) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> entries{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int bit = 0; bit < 8; ++bit)
                c = (c & 1) != 0 ? 0xEDB88320 ^ (c >> 1) : c >> 1;
            entries[i] = c;
        }
        return entries;
    }();
    std::uint32_t crc = 0xFFFFFFFF;
    for (unsigned char byte : bytes)
        crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFF;
}

std::string RawZip(const std::vector<RawMember>& members) {
    std::string archive;
    std::string directory;
    for (const RawMember& member : members) {
        const MemberFields fields = FieldsOf(member);
        const std::uint64_t offset = archive.size();
        const std::string localExtra = Zip64Extra(member, fields, std::nullopt);
        Put32(archive, 0x04034B50);
        PutCommonFields(archive, member, fields);
        Put16(archive, static_cast<std::uint32_t>(localExtra.size()));
        archive += member.name + localExtra + member.data;

        const std::string centralExtra = Zip64Extra(member, fields, offset);
        Put32(directory, 0x02014B50);
        Put16(directory, static_cast<std::uint32_t>(member.system) << 8 | 20);
        PutCommonFields(directory, member, fields);
        Put16(directory, static_cast<std::uint32_t>(centralExtra.size()));
        Put16(directory, 0); // comment
        Put16(directory, 0); // disk
        Put16(directory, 0); // internal attributes
        Put32(directory, member.externalAttributes);
        Put32(directory, fields.zip64 ? kZip64Limit : static_cast<std::uint32_t>(offset));
        directory += member.name + centralExtra;
    }
    const auto directoryOffset = static_cast<std::uint32_t>(archive.size());
    archive += directory;
    Put32(archive, 0x06054B50);
    Put16(archive, 0);
    Put16(archive, 0);
    Put16(archive, static_cast<std::uint32_t>(members.size()));
    Put16(archive, static_cast<std::uint32_t>(members.size()));
    Put32(archive, static_cast<std::uint32_t>(directory.size()));
    Put32(archive, directoryOffset);
    Put16(archive, 0);
    return archive;
}

std::size_t EndRecordOffset(const std::string& archive) {
    return archive.rfind(std::string("PK\x05\x06", 4));
}

void WriteZip(const std::string& path, const std::vector<ZipEntry>& entries) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (archive == nullptr)
        throw std::runtime_error("zip_open failed: " + std::to_string(error));
    for (const ZipEntry& entry : entries) {
        zip_int64_t index = -1;
        if (!entry.name.empty() && entry.name.back() == '/') {
            index = zip_dir_add(archive, entry.name.c_str(), ZIP_FL_ENC_UTF_8);
        } else {
            zip_source_t* source =
                zip_source_buffer(archive, entry.data.data(), entry.data.size(), 0);
            index = zip_file_add(archive, entry.name.c_str(), source, ZIP_FL_ENC_UTF_8);
            if (index < 0)
                zip_source_free(source);
            else
                zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                                         entry.deflate ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0);
        }
        if (index < 0)
            throw std::runtime_error("zip_file_add failed: " + entry.name);
        const auto at = static_cast<zip_uint64_t>(index);
        zip_file_set_external_attributes(archive, at, 0, ZIP_OPSYS_DOS,
                                         entry.readOnly ? 0x01 : 0x20);
        zip_file_set_mtime(archive, at, static_cast<time_t>(entry.modified), 0);
    }
    if (zip_close(archive) != 0) {
        const std::string message = zip_strerror(archive);
        zip_discard(archive);
        throw std::runtime_error("zip_close failed: " + message);
    }
}

} // namespace testing_support
