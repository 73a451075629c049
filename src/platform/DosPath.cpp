#include "platform/DosPath.h"

#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "rtl/StrUtils.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <mutex>
#include <system_error>
#include <vector>

namespace platform {

namespace {

struct CurrentFolders {
    std::mutex mutex;
    char drive = 'c';
    std::map<char, std::string> folders; // below the drive's root, parts separated by "\"
};

CurrentFolders& Current() {
    static CurrentFolders current;
    return current;
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

std::vector<std::string> SplitParts(std::string_view path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (IsSeparator(c)) {
            if (!part.empty())
                parts.push_back(std::move(part));
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(std::move(part));
    return parts;
}

// A DOS path taken apart: its drive letter and its parts below the drive's root.
struct DosLocation {
    char drive = 'c';
    std::vector<std::string> parts;
};

DosLocation Locate(std::string_view dosPath) {
    DosLocation location;
    std::string currentFolder;
    {
        CurrentFolders& current = Current();
        const std::lock_guard lock(current.mutex);
        location.drive = current.drive;
        if (dosPath.size() >= 2 && dosPath[1] == ':' &&
            std::isalpha(static_cast<unsigned char>(dosPath[0]))) {
            location.drive = LowerDriveLetter(dosPath[0]);
            dosPath.remove_prefix(2);
        }
        currentFolder = current.folders[location.drive];
    }
    std::vector<std::string> given = SplitParts(dosPath);
    if (dosPath.empty() || !IsSeparator(dosPath.front()))
        location.parts = SplitParts(currentFolder);
    for (std::string& part : given) {
        if (part == "..") {
            if (!location.parts.empty())
                location.parts.pop_back();
        } else if (part != ".") {
            location.parts.push_back(std::move(part));
        }
    }
    return location;
}

// The entry of folder that name means: itself if it exists, else the first case-insensitive
// match in alphabetical order.
std::optional<std::string> MatchEntry(const std::filesystem::path& folder,
                                      const std::string& name) {
    std::error_code error;
    if (std::filesystem::symlink_status(folder / name, error).type() !=
        std::filesystem::file_type::not_found)
        return name;
    std::optional<std::string> best;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string entry = it->path().filename().string();
        if (rtl::SameTextAscii(entry, name) && (!best || entry < *best))
            best = entry;
    }
    return best;
}

// The native path of a location, with the native names of its parts.
struct NativeLocation {
    std::string path;
    std::vector<std::string> names;
};

std::optional<NativeLocation> Resolve(const DriveTable& table, const DosLocation& location) {
    const Drive* drive = table.Find(location.drive);
    if (drive == nullptr)
        return std::nullopt;
    std::filesystem::path native = drive->folder;
    NativeLocation result;
    bool matching = true;
    for (const std::string& part : location.parts) {
        std::string name = Ansi1252ToUtf8(part);
        if (matching) {
            const auto match = MatchEntry(native, name);
            matching = match.has_value();
            if (match)
                name = *match;
        }
        native /= name;
        result.names.push_back(std::move(name));
    }
    result.path = native.string();
    return result;
}

std::string JoinDos(char drive, const std::vector<std::string>& parts) {
    std::string path{drive, ':', '\\'};
    for (std::size_t i = 0; i < parts.size(); ++i)
        path += (i == 0 ? "" : "\\") + parts[i];
    return path;
}

} // namespace

std::optional<std::string> DosToNative(const DriveTable& table, std::string_view dosPath) {
    const auto native = Resolve(table, Locate(dosPath));
    if (!native)
        return std::nullopt;
    return native->path;
}

std::optional<std::string> DosToNative(std::string_view dosPath) {
    return DosToNative(LoadDriveTable(false), dosPath);
}

std::optional<std::string> NativeToDos(const DriveTable& table, std::string_view nativePath) {
    std::error_code error;
    const std::filesystem::path absolute =
        std::filesystem::absolute(std::filesystem::path(nativePath), error).lexically_normal();
    const std::string normal = WithoutTrailingSlashes(absolute.string());
    const Drive* drive = table.FindHolding(normal);
    if (drive == nullptr)
        return std::nullopt;
    std::vector<std::string> parts;
    for (const std::string& name :
         SplitParts(std::string_view(normal).substr(drive->folder.size())))
        parts.push_back(Utf8ToAnsi1252Lossy(name));
    return JoinDos(drive->letter, parts);
}

std::optional<std::string> NativeToDos(std::string_view nativePath) {
    return NativeToDos(LoadDriveTable(false), nativePath);
}

std::string ExpandDosPath(std::string_view dosPath) {
    const DosLocation location = Locate(dosPath);
    return JoinDos(location.drive, location.parts);
}

char CurrentDrive() {
    CurrentFolders& current = Current();
    const std::lock_guard lock(current.mutex);
    return current.drive;
}

std::string CurrentDirectory(char drive) {
    CurrentFolders& current = Current();
    const std::lock_guard lock(current.mutex);
    const char letter = drive == 0 ? current.drive : LowerDriveLetter(drive);
    return JoinDos(letter, SplitParts(current.folders[letter]));
}

bool ChangeDirectory(const DriveTable& table, std::string_view dosPath) {
    const DosLocation location = Locate(dosPath);
    const auto native = Resolve(table, location);
    std::error_code error;
    if (!native || !std::filesystem::is_directory(native->path, error))
        return false;
    std::string folder;
    for (const std::string& name : native->names)
        folder += (folder.empty() ? "" : "\\") + Utf8ToAnsi1252Lossy(name);
    CurrentFolders& current = Current();
    const std::lock_guard lock(current.mutex);
    current.drive = location.drive;
    current.folders[location.drive] = std::move(folder);
    return true;
}

bool ChangeDirectory(std::string_view dosPath) {
    return ChangeDirectory(LoadDriveTable(false), dosPath);
}

} // namespace platform
