#include "platform/FolderFiles.h"

#include "platform/IoError.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

int OpenIn(int folder, const std::string& name, int flags, FolderFile& file, int& fd) {
    if (file.IsOpen())
        file.Close();
    fd = ::openat(folder, name.c_str(), flags | O_NOFOLLOW | O_CLOEXEC | O_WRONLY, 0644);
    return fd < 0 ? LastIoError() : ERROR_SUCCESS;
}

} // namespace

int WriteFully(int handle, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(handle, bytes, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n == 0 ? ERROR_DISK_FULL : LastIoError();
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return ERROR_SUCCESS;
}

Folder::~Folder() {
    if (fd_ >= 0)
        ::close(fd_);
}

Folder::Folder(Folder&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

Folder& Folder::operator=(Folder&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

int Folder::Open(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return LastIoError();
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
    return ERROR_SUCCESS;
}

std::optional<FolderEntry> Folder::Entry(const std::string& name) const {
    struct stat info {};
    if (::fstatat(fd_, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    return FolderEntry{S_ISREG(info.st_mode), static_cast<std::int64_t>(info.st_size),
                       info.st_mtime};
}

int Folder::Create(const std::string& name, FolderFile& file) const {
    return OpenIn(fd_, name, O_CREAT | O_EXCL, file, file.fd_);
}

int Folder::OpenToAppend(const std::string& name, FolderFile& file) const {
    const int result = OpenIn(fd_, name, O_APPEND, file, file.fd_);
    struct stat info {};
    if (result == ERROR_SUCCESS && (::fstat(file.fd_, &info) != 0 || !S_ISREG(info.st_mode))) {
        file.Close();
        return ERROR_ACCESS_DENIED;
    }
    return result;
}

int Folder::Rename(const std::string& from, const std::string& to) const {
    return ::renameat(fd_, from.c_str(), fd_, to.c_str()) == 0 ? ERROR_SUCCESS : LastIoError();
}

int Folder::Remove(const std::string& name) const {
    return ::unlinkat(fd_, name.c_str(), 0) == 0 ? ERROR_SUCCESS : LastIoError();
}

FolderFile::~FolderFile() {
    Close();
}

int FolderFile::Write(const char* data, std::size_t size) {
    return WriteFully(fd_, data, size);
}

int FolderFile::SetModified(std::time_t modified) {
    const timespec times[2] = {{0, UTIME_OMIT}, {modified, 0}};
    return ::futimens(fd_, times) == 0 ? ERROR_SUCCESS : LastIoError();
}

int FolderFile::Close() {
    if (fd_ < 0)
        return ERROR_SUCCESS;
    return ::close(std::exchange(fd_, -1)) == 0 ? ERROR_SUCCESS : LastIoError();
}

} // namespace platform
