#include "platform/FileSearch.h"

#include "platform/DosDateTime.h"
#include "platform/Drives.h"
#include "platform/FileSystem.h"
#include "platform/Wildcard.h"

#include <algorithm>
#include <dirent.h>
#include <filesystem>
#include <memory>
#include <sys/stat.h>

namespace platform {

namespace {

bool IsDriveRoot(const std::string& folder) {
    if (folder == "/")
        return true;
    const DriveTable table = LoadDriveTable(false);
    return std::any_of(table.Drives().begin(), table.Drives().end(),
                       [&](const Drive& drive) { return drive.folder == folder; });
}

bool Wanted(std::uint32_t attributes, std::uint32_t filter) {
    const std::uint32_t special = attributes & (faHidden | faSysFile | faDirectory);
    return (special & ~filter) == 0;
}

SearchEntry Describe(const std::string& folder, const std::string& name) {
    std::string path = folder;
    path += '/';
    path += name;
    SearchEntry entry;
    entry.Name = name;
    entry.Attr = GetFileAttributes(path).value_or(faArchive);
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 || lstat(path.c_str(), &info) == 0) {
        entry.Size = S_ISDIR(info.st_mode) ? 0 : static_cast<std::int64_t>(info.st_size);
        entry.Time = UnixTimeToFileDate(info.st_mtime);
    }
    return entry;
}

} // namespace

std::vector<SearchEntry> FindFiles(const std::string& nativePattern,
                                   std::uint32_t attributeFilter) {
    const std::filesystem::path full(nativePattern);
    const std::string pattern = full.filename().string();
    const std::string folder = full.has_parent_path() ? full.parent_path().string() : ".";

    std::vector<SearchEntry> entries;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), &closedir);
    if (!dir)
        return entries;
    const bool withDotEntries = !IsDriveRoot(folder);
    while (const dirent* item = readdir(dir.get())) {
        const std::string name = item->d_name;
        const bool dotEntry = name == "." || name == "..";
        if ((dotEntry && !withDotEntries) || !MatchesWildcard(name, pattern))
            continue;
        SearchEntry entry = Describe(folder, name);
        if (Wanted(entry.Attr, attributeFilter))
            entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(),
              [](const SearchEntry& a, const SearchEntry& b) { return a.Name < b.Name; });
    return entries;
}

} // namespace platform
