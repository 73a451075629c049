// DOS file attributes over POSIX files, and the few file operations that report a Windows error
// number. All paths here are native.
//
// Attributes are derived, not stored: read-only = the owner has no write permission, hidden =
// the name begins with ".", directory, archive = a regular file. A symbolic link also carries
// faSymLink (the Windows reparse-point bit) besides the attributes of what it points to.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace platform {

inline constexpr std::uint32_t faNormal = 0x00;
inline constexpr std::uint32_t faReadOnly = 0x01;
inline constexpr std::uint32_t faHidden = 0x02;
inline constexpr std::uint32_t faSysFile = 0x04;
inline constexpr std::uint32_t faVolumeID = 0x08;
inline constexpr std::uint32_t faDirectory = 0x10;
inline constexpr std::uint32_t faArchive = 0x20;
inline constexpr std::uint32_t faSymLink = 0x400;
inline constexpr std::uint32_t faAnyFile = 0x3F;

// What a directory search reports of a file, from one look at it.
struct FileStatus {
    std::uint32_t attributes = 0;
    std::int64_t size = 0; // 0 for a folder
    std::time_t modified = 0;
};

// nullopt when nothing exists at path. A symbolic link reports what it points to, or itself
// when that is missing.
std::optional<FileStatus> GetFileStatus(const std::string& path);

// nullopt when nothing exists at path.
std::optional<std::uint32_t> GetFileAttributes(const std::string& path);

// faReadOnly in attributes removes every write permission; without it the owner's write
// permission is added. Hidden, system and archive cannot be set and are ignored. A symbolic link
// is left alone (changing it would change what it points to). False when path cannot be changed.
bool SetFileAttributes(const std::string& path, std::uint32_t attributes);

// Whether both paths name one existing file: the same path, a hard link, a symbolic link to it,
// or the same file reached through different drive mappings.
bool IsSameFile(const std::string& a, const std::string& b);

// path without trailing "/" separators; "/" itself stays.
std::string WithoutTrailingSlashes(std::string path);

// These return 0 on success, else the Windows error number.
int DeleteFile(const std::string& path);
int RemoveFolder(const std::string& path);
int CreateFolder(const std::string& path);

} // namespace platform
