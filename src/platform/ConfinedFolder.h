// Creating files below one folder without ever passing through a symbolic link below it, for
// unpacking archives of unknown origin. Every step works on an open folder handle and a single
// name (never a path), so a link planted below the folder, even during the run, is refused
// instead of followed. A file is written under a hidden temporary name in its target folder and
// renamed over the target only when it is complete; until then the target stays untouched, and a
// file that is never committed is removed.
//
// Failures raise rtl::EInOutError with the Windows error number; a link where a folder or file
// should be created is ERROR_ACCESS_DENIED. Names are native (UTF-8) and must not contain "/".
#pragma once

#include <cstddef>
#include <ctime>
#include <string>

namespace platform {

enum class EntryKind { Missing, File, Folder, Link, Other };

// What is at a name, without following a link.
struct EntryInfo {
    EntryKind kind = EntryKind::Missing;
    bool readOnly = false; // the owner has no write permission
};

class ConfinedFolder {
public:
    // An existing folder; links in nativePath itself are followed, since the caller chose it.
    explicit ConfinedFolder(const std::string& nativePath);
    ~ConfinedFolder();
    ConfinedFolder(ConfinedFolder&& other) noexcept;
    ConfinedFolder& operator=(ConfinedFolder&& other) noexcept;
    ConfinedFolder(const ConfinedFolder&) = delete;
    ConfinedFolder& operator=(const ConfinedFolder&) = delete;

    EntryInfo Look(const std::string& name) const;

    // The same folder through a handle of its own.
    ConfinedFolder Duplicate() const;

    // The sub-folder name, created when missing. A link, a file or anything else of that name
    // is an error.
    ConfinedFolder Enter(const std::string& name) const;

private:
    friend class PendingFile;
    explicit ConfinedFolder(int handle) : handle_(handle) {}

    int handle_ = -1;
};

// A file being written in a confined folder under a temporary name.
class PendingFile {
public:
    explicit PendingFile(const ConfinedFolder& folder);
    // Removes the temporary file unless it was committed.
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    // All of the bytes, or an error (a full disk is ERROR_DISK_FULL).
    void Write(const void* data, std::size_t size);

    // Sets the file's read-only attribute and modification time, closes it and renames it over
    // name. A link or a folder at name is an error and leaves it as it is.
    void Commit(const std::string& name, bool readOnly, std::time_t modified);

private:
    void Discard() noexcept;

    int folder_;
    int handle_ = -1;
    std::string temporaryName_;
};

} // namespace platform
