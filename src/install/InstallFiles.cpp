#include "install/InstallFiles.h"

#include "platform/ConfinedFolder.h"
#include "platform/Drives.h"
#include "platform/Folders.h"
#include "platform/IoError.h"
#include "rtl/Exceptions.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>

namespace install {

namespace {

constexpr std::size_t kBlockSize = 2048;

// Compared as they are after links are resolved, so that "~/.." and a link to "/" count too.
std::filesystem::path Resolved(const std::string& path) {
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
    return error ? std::filesystem::path(path).lexically_normal() : resolved;
}

bool Holds(const std::filesystem::path& folder, const std::filesystem::path& inner) {
    return std::mismatch(folder.begin(), folder.end(), inner.begin(), inner.end()).first ==
           folder.end();
}

const char* IoErrorCause(int errorCode) {
    switch (errorCode) {
    case platform::ERROR_FILE_NOT_FOUND:
        return "Datei nicht gefunden";
    case platform::ERROR_PATH_NOT_FOUND:
        return "Verzeichnis nicht gefunden";
    case platform::ERROR_ACCESS_DENIED:
    case platform::ERROR_WRITE_PROTECT:
        return "Zugriff verweigert";
    case platform::ERROR_NOT_READY:
        return "Laufwerk nicht bereit";
    case platform::ERROR_DISK_FULL:
        return "Datentr\xE4ger voll";
    default:
        return "Ein-/Ausgabefehler";
    }
}

} // namespace

void CopyInstallFile(const std::string& source, const std::string& folder, const std::string& name,
                     const std::function<void(std::int64_t copied)>& progress) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(source.c_str(), "rb"),
                                                             &std::fclose);
    if (!in)
        throw rtl::EInOutError(platform::LastIoError());
    const platform::ConfinedFolder target(folder);
    platform::PendingFile copy(target);
    std::array<char, kBlockSize> block{};
    std::int64_t copied = 0;
    for (;;) {
        const std::size_t got = std::fread(block.data(), 1, block.size(), in.get());
        if (got == 0 && std::ferror(in.get()))
            throw rtl::EInOutError(errno != 0 ? platform::LastIoError()
                                              : platform::ERROR_GEN_FAILURE);
        if (got == 0)
            break;
        copy.Write(block.data(), got);
        copied += static_cast<std::int64_t>(got);
        progress(copied);
    }
    copy.Commit(name, false, std::time(nullptr));
}

bool IsProtectedFolder(const std::string& folder) {
    const std::filesystem::path candidate = Resolved(folder);
    if (Holds(candidate, Resolved(platform::HomeFolder())) || candidate == candidate.root_path())
        return true;
    const platform::DriveTable table = platform::LoadDriveTable(false);
    for (const platform::Drive& drive : table.Drives())
        if (Holds(candidate, Resolved(drive.folder)))
            return true;
    return false;
}

std::string IoErrorText(int errorCode) {
    return std::string(IoErrorCause(errorCode)) + " (Fehler " + std::to_string(errorCode) + ")";
}

} // namespace install
