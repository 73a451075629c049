#include "platform/FileSet.h"

#include "platform/FolderFiles.h"
#include "platform/IoError.h"
#include "rtl/Exceptions.h"

#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Follows symbolic links to the file they name (which need not exist yet).
std::string FinalTarget(const std::string& path) {
    std::error_code error;
    std::filesystem::path target = path;
    for (int hops = 0; hops < 40 && std::filesystem::is_symlink(target, error); ++hops) {
        const std::filesystem::path next = std::filesystem::read_symlink(target, error);
        if (error)
            break;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target.lexically_normal().string();
}

std::string UniqueName(const std::string& path, const char* kind) {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    return path + kind + std::to_string(random() % 1000000000);
}

// Flushes a folder's entries, so that renames in it survive a crash. Best effort: not every
// file system lets a folder be synced.
void SyncFolderOf(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

} // namespace

FileSet::~FileSet() {
    for (const Pending& file : files_) {
        if (!committed_)
            unlink(file.temporary.c_str());
        if (!file.backup.empty())
            unlink(file.backup.c_str());
    }
}

void FileSet::Write(const std::string& path, std::span<const std::uint8_t> content) {
    Pending file{FinalTarget(path), {}, {}};
    file.temporary = UniqueName(file.final, ".tmp");
    struct stat old {};
    const mode_t mode =
        stat(file.final.c_str(), &old) == 0 && S_ISREG(old.st_mode) ? old.st_mode & 07777 : 0644;
    const int fd = open(file.temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        throw rtl::EFCreateError(path);
    files_.push_back(file);
    const bool written = WriteFully(fd, content.data(), content.size()) == ERROR_SUCCESS &&
                         fchmod(fd, mode) == 0 && fsync(fd) == 0;
    if (close(fd) != 0 || !written)
        throw rtl::EWriteError();
}

void FileSet::RestoreFirst(std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const Pending& file = files_[i];
        if (file.backup.empty())
            unlink(file.final.c_str());
        else
            rename(file.backup.c_str(), file.final.c_str());
    }
}

void FileSet::Commit() {
    // Hard links keep the old content reachable without ever taking a final name away.
    for (Pending& file : files_) {
        struct stat old {};
        if (lstat(file.final.c_str(), &old) != 0 || !S_ISREG(old.st_mode))
            continue;
        file.backup = UniqueName(file.final, ".old");
        if (link(file.final.c_str(), file.backup.c_str()) != 0)
            throw rtl::EFCreateError(file.final);
    }
    for (std::size_t i = 0; i < files_.size(); ++i) {
        if (rename(files_[i].temporary.c_str(), files_[i].final.c_str()) != 0) {
            RestoreFirst(i);
            throw rtl::EFCreateError(files_[i].final);
        }
    }
    committed_ = true;
    for (const Pending& file : files_)
        SyncFolderOf(file.final);
}

} // namespace platform
