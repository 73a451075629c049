// Files written inside one folder by name, for data that names its own files (downloads): the
// folder is held open and every name is taken within it, never following a symbolic link, so a
// name can neither leave the folder nor write through a link planted in it.
//
// Names given here must be plain names (no "/", not "." or ".."); callers make them so.
// Errors are Windows error numbers (0 success).
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace platform {

// What is at a name in the folder, the link itself for a symbolic link.
struct FolderEntry {
    bool regularFile = false;
    std::int64_t size = 0;
    std::time_t modified = 0;
};

class FolderFile;

// Writes all size bytes to the open file handle, again after an interrupted call;
// ERROR_DISK_FULL when the disk or a size limit takes no more.
int WriteFully(int handle, const void* data, std::size_t size);

class Folder {
public:
    Folder() = default;
    ~Folder();
    Folder(Folder&& other) noexcept;
    Folder& operator=(Folder&& other) noexcept;
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    // Opens the folder (following links in the path given, which the user chose).
    int Open(const std::string& path);
    bool IsOpen() const { return fd_ >= 0; }

    std::optional<FolderEntry> Entry(const std::string& name) const;
    // A new file; ERROR_FILE_EXISTS when anything has the name already.
    int Create(const std::string& name, FolderFile& file) const;
    // An existing regular file (not a link) opened for appending at its end.
    int OpenToAppend(const std::string& name, FolderFile& file) const;
    // Replaces whatever regular file is at to.
    int Rename(const std::string& from, const std::string& to) const;
    int Remove(const std::string& name) const;

private:
    int fd_ = -1;
};

class FolderFile {
public:
    FolderFile() = default;
    ~FolderFile();
    FolderFile(const FolderFile&) = delete;
    FolderFile& operator=(const FolderFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    // Writes all of data; ERROR_DISK_FULL when the disk or a size limit is reached.
    int Write(const char* data, std::size_t size);
    // Sets the modification time (seconds since 1970).
    int SetModified(std::time_t modified);
    // Closing can fail (a late write error); the file is closed in any case.
    int Close();

private:
    friend class Folder;
    int fd_ = -1;
};

} // namespace platform
