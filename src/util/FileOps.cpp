#include "util/FileOps.h"

#include "platform/FileSearch.h"
#include "platform/FileSystem.h"
#include "platform/IoError.h"
#include "platform/MessageBox.h"
#include "rtl/Exceptions.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <memory>

namespace util {

namespace {

constexpr std::size_t kCopyBlockSize = 2048;

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// Closes target, removes it and raises the error number of errnoValue.
[[noreturn]] void AbandonCopy(File& target, const std::string& targetPath, int errnoValue) {
    target.reset();
    std::remove(targetPath.c_str());
    const int code = platform::IoErrorFromErrno(errnoValue);
    throw rtl::EInOutError(code != 0 ? code : platform::ERROR_GEN_FAILURE);
}

std::string ChildPath(const std::string& dir, const std::string& name) {
    std::string path = dir;
    if (path.empty() || path.back() != '/')
        path += '/';
    path += name;
    return path;
}

} // namespace

void CopyFileBlocks(const std::string& source, const std::string& target) {
    const File in(std::fopen(source.c_str(), "rb"), &std::fclose);
    if (!in)
        return;
    if (platform::IsSameFile(source, target))
        throw rtl::EInOutError(platform::ERROR_SHARING_VIOLATION);
    File out(std::fopen(target.c_str(), "wb"), &std::fclose);
    if (!out)
        throw rtl::EInOutError(platform::LastIoError());
    // Unbuffered, so that every block's write reports its own shortfall.
    std::setvbuf(out.get(), nullptr, _IONBF, 0);
    std::array<char, kCopyBlockSize> block{};
    for (;;) {
        const std::size_t got = std::fread(block.data(), 1, block.size(), in.get());
        if (got == 0) {
            if (std::ferror(in.get()))
                AbandonCopy(out, target, errno);
            break;
        }
        errno = 0;
        if (std::fwrite(block.data(), 1, got, out.get()) != got)
            AbandonCopy(out, target, errno != 0 ? errno : ENOSPC);
    }
    if (std::fclose(out.release()) != 0) {
        const int closeError = errno;
        std::remove(target.c_str());
        throw rtl::EInOutError(platform::IoErrorFromErrno(closeError));
    }
}

void DeleteFileForced(const std::string& path) {
    platform::SetFileAttributes(path, platform::faNormal);
    platform::DeleteFile(path);
}

void DeleteTree(const std::string& dir) {
    for (const platform::SearchEntry& entry :
         platform::FindFiles(ChildPath(dir, "*.*"), platform::faAnyFile)) {
        if (entry.Name == "." || entry.Name == "..")
            continue;
        const std::string path = ChildPath(dir, entry.Name);
        const bool realFolder =
            (entry.Attr & platform::faDirectory) != 0 && (entry.Attr & platform::faSymLink) == 0;
        if (realFolder) {
            platform::SetFileAttributes(path, platform::faDirectory);
            DeleteTree(path);
        } else {
            DeleteFileForced(path);
        }
    }
    if (const int error = platform::RemoveFolder(platform::WithoutTrailingSlashes(dir)); error != 0)
        platform::ShowMessageBox("FehlerNummer: " + std::to_string(error),
                                 "Verzeichnis l\xF6schen");
}

} // namespace util
