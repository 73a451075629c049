// Files written beside their final names and put in place together. Each file is written to a
// temporary file in its final folder, flushed to disk and closed, every step checked; Commit
// renames them over their final names in order. When a rename fails, the files already put in
// place get their old content back (or are removed when they had none), so a reader never finds
// a new file paired with an old one. Temporary files that were never committed are removed.
//
// A final name that is a symbolic link is written through to the link's target, which is
// replaced the same way; the link stays. A replaced file keeps its permission bits.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace platform {

class FileSet {
public:
    FileSet() = default;
    ~FileSet();
    FileSet(const FileSet&) = delete;
    FileSet& operator=(const FileSet&) = delete;

    // rtl::EFCreateError naming path when the temporary file cannot be made; rtl::EWriteError
    // when writing, flushing or closing it fails (a full disk, a file-size limit).
    void Write(const std::string& path, std::span<const std::uint8_t> content);
    // rtl::EFCreateError naming the file that could not be put in place; every file then holds
    // what it held before.
    void Commit();

private:
    struct Pending {
        std::string final;     // the file replaced: a link's target, not the link
        std::string temporary; // the new content
        std::string backup;    // a hard link to the old content; empty when there was none
    };
    void RestoreFirst(std::size_t count);

    std::vector<Pending> files_;
    bool committed_ = false;
};

} // namespace platform
