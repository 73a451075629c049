#include "platform/ConfinedFolder.h"

#include "platform/FolderFiles.h"
#include "platform/IoError.h"
#include "rtl/Exceptions.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
constexpr int kTemporaryNameAttempts = 100;

[[noreturn]] void RaiseLastError() {
    throw rtl::EInOutError(LastIoError());
}

// A name no other run picks: process-wide counter and a random start, hidden by its dot.
std::string NextTemporaryName() {
    static std::atomic<unsigned long> counter{std::random_device{}()};
    return ".~unpack-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".tmp";
}

EntryInfo LookAt(int folder, const std::string& name) {
    struct stat info {};
    if (fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT)
            return {};
        RaiseLastError();
    }
    EntryInfo entry;
    entry.readOnly = (info.st_mode & S_IWUSR) == 0;
    if (S_ISLNK(info.st_mode))
        entry.kind = EntryKind::Link;
    else if (S_ISDIR(info.st_mode))
        entry.kind = EntryKind::Folder;
    else if (S_ISREG(info.st_mode))
        entry.kind = EntryKind::File;
    else
        entry.kind = EntryKind::Other;
    return entry;
}

} // namespace

ConfinedFolder::ConfinedFolder(const std::string& nativePath)
    : handle_(open(nativePath.c_str(), kFolderFlags)) {
    if (handle_ < 0)
        RaiseLastError();
}

ConfinedFolder::~ConfinedFolder() {
    if (handle_ >= 0)
        close(handle_);
}

ConfinedFolder::ConfinedFolder(ConfinedFolder&& other) noexcept
    : handle_(std::exchange(other.handle_, -1)) {}

ConfinedFolder& ConfinedFolder::operator=(ConfinedFolder&& other) noexcept {
    if (this != &other) {
        if (handle_ >= 0)
            close(handle_);
        handle_ = std::exchange(other.handle_, -1);
    }
    return *this;
}

EntryInfo ConfinedFolder::Look(const std::string& name) const {
    return LookAt(handle_, name);
}

ConfinedFolder ConfinedFolder::Duplicate() const {
    const int handle = fcntl(handle_, F_DUPFD_CLOEXEC, 0);
    if (handle < 0)
        RaiseLastError();
    return ConfinedFolder(handle);
}

ConfinedFolder ConfinedFolder::Enter(const std::string& name) const {
    if (mkdirat(handle_, name.c_str(), 0777) != 0 && errno != EEXIST)
        RaiseLastError();
    // O_NOFOLLOW refuses a link even if one replaced the folder a moment ago.
    const int handle = openat(handle_, name.c_str(), kFolderFlags | O_NOFOLLOW);
    if (handle < 0) {
        if (errno == ELOOP || errno == ENOTDIR)
            throw rtl::EInOutError(ERROR_ACCESS_DENIED);
        RaiseLastError();
    }
    return ConfinedFolder(handle);
}

PendingFile::PendingFile(const ConfinedFolder& folder) : folder_(folder.handle_) {
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        temporaryName_ = NextTemporaryName();
        handle_ = openat(folder_, temporaryName_.c_str(),
                         O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (handle_ >= 0)
            return;
        if (errno != EEXIST)
            RaiseLastError();
    }
    throw rtl::EInOutError(ERROR_FILE_EXISTS);
}

PendingFile::~PendingFile() {
    Discard();
}

void PendingFile::Discard() noexcept {
    if (handle_ < 0)
        return;
    close(handle_);
    handle_ = -1;
    unlinkat(folder_, temporaryName_.c_str(), 0);
}

void PendingFile::Write(const void* data, std::size_t size) {
    if (const int error = WriteFully(handle_, data, size); error != ERROR_SUCCESS)
        throw rtl::EInOutError(error);
}

void PendingFile::Commit(const std::string& name, bool readOnly, std::time_t modified) {
    const EntryKind kind = LookAt(folder_, name).kind;
    if (kind == EntryKind::Link || kind == EntryKind::Folder)
        throw rtl::EInOutError(ERROR_ACCESS_DENIED);
    struct stat info {};
    if (fstat(handle_, &info) != 0)
        RaiseLastError();
    if (readOnly && fchmod(handle_, info.st_mode & 07555) != 0)
        RaiseLastError();
    const timespec times[2] = {{0, UTIME_NOW}, {modified, 0}};
    if (futimens(handle_, times) != 0)
        RaiseLastError();
    // A late write error shows at close; either failure leaves no temporary file behind.
    if (close(std::exchange(handle_, -1)) != 0 ||
        renameat(folder_, temporaryName_.c_str(), folder_, name.c_str()) != 0) {
        const int error = LastIoError();
        unlinkat(folder_, temporaryName_.c_str(), 0);
        throw rtl::EInOutError(error);
    }
}

} // namespace platform
