#include "platform/MappedFileStream.h"

#include "rtl/Exceptions.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

TMappedFileStream::TMappedFileStream(const std::string& path) {
    // Non-blocking, so that a named pipe in the file's place is refused instead of waited on.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw rtl::EFOpenError(path);
    struct stat info {};
    const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (regular && info.st_size > 0) {
        void* mapped =
            mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        if (mapped != MAP_FAILED) {
            data_ = static_cast<const std::uint8_t*>(mapped);
            size_ = info.st_size;
        }
    }
    close(fd);
    if (!regular || (info.st_size > 0 && data_ == nullptr))
        throw rtl::EFOpenError(path);
}

TMappedFileStream::~TMappedFileStream() {
    if (data_ != nullptr)
        munmap(const_cast<std::uint8_t*>(data_), static_cast<std::size_t>(size_));
}

std::int32_t TMappedFileStream::Read(void* buffer, std::int32_t count) {
    if (count <= 0 || position_ >= size_)
        return 0;
    const auto n = static_cast<std::int32_t>(std::min<std::int64_t>(count, size_ - position_));
    std::memcpy(buffer, data_ + position_, static_cast<std::size_t>(n));
    position_ += n;
    return n;
}

std::int32_t TMappedFileStream::Write(const void*, std::int32_t) {
    return 0;
}

std::int64_t TMappedFileStream::Seek(std::int64_t offset, rtl::SeekOrigin origin) {
    const std::int64_t base = origin == rtl::SeekOrigin::Beginning ? 0
                              : origin == rtl::SeekOrigin::Current ? position_
                                                                   : size_;
    position_ = std::max<std::int64_t>(0, base + offset);
    return position_;
}

} // namespace platform
