// A file read through one read-only memory mapping: reading and positioning cost no system call,
// which makes reading many small records (a full-text search) cheap. Only a regular file is
// opened; an empty file maps nothing and reads nothing. Writing is not possible.
#pragma once

#include "rtl/Stream.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

class TMappedFileStream final : public rtl::TStream {
public:
    // "Cannot open file %s" when path is not a regular file that can be read and mapped.
    explicit TMappedFileStream(const std::string& path);
    ~TMappedFileStream() override;
    TMappedFileStream(const TMappedFileStream&) = delete;
    TMappedFileStream& operator=(const TMappedFileStream&) = delete;

    std::int32_t Read(void* buffer, std::int32_t count) override;
    // Always 0: the mapping is read-only.
    std::int32_t Write(const void* buffer, std::int32_t count) override;
    std::int64_t Seek(std::int64_t offset, rtl::SeekOrigin origin) override;

private:
    const std::uint8_t* data_ = nullptr;
    std::int64_t size_ = 0;
    std::int64_t position_ = 0;
};

} // namespace platform
