#include "platform/FileSearch.h"

#include "platform/DosDateTime.h"
#include "platform/Drives.h"
#include "platform/FileSystem.h"
#include "platform/Wildcard.h"

#include <algorithm>
#include <dirent.h>
#include <filesystem>
#include <memory>

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
    SearchEntry entry;
    entry.Name = name;
    entry.Attr = faArchive;
    if (const auto status = GetFileStatus(folder + '/' + name)) {
        entry.Attr = status->attributes;
        entry.Size = status->size;
        entry.Time = UnixTimeToFileDate(status->modified);
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
