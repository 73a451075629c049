// The contents of a sorted file list box without its window: the entries of one folder in three
// groups (files, folders, drives), each sorted by name, read through the platform's directory
// search and drive table; and the texts of a line's columns.
#pragma once

#include "rtl/Exceptions.h"

#include <cstdint>
#include <string>
#include <vector>

namespace install {

class ESortFileList : public rtl::Exception {
public:
    ESortFileList() : Exception("Exception on inserting file into list.") {}
};

struct TFileEntry {
    std::string Name;       // ANSI, case per the list's UpperCase; a drive is its letter and ":"
    std::string NativeName; // the name in the file system (UTF-8); empty for a drive
    std::uint32_t Attr = 0;
    std::uint32_t Time = 0; // DOS packed date-time
    std::int32_t Size = 0;
    bool IsDir = false;
    bool IsDrive = false;
};

// Entries sorted by name without regard to case; a name already present is not taken again.
class TSortFileList {
public:
    // Inserts before the first greater name; drops the entry when its name is there already.
    // A failure (no memory) raises ESortFileList.
    void InsertSorted(TFileEntry entry);
    void Append(TFileEntry entry) { entries_.push_back(std::move(entry)); }
    void Clear() { entries_.clear(); }

    const std::vector<TFileEntry>& Entries() const { return entries_; }
    int Count() const { return static_cast<int>(entries_.size()); }

private:
    std::vector<TFileEntry> entries_;
};

enum class TSortType { stDirNameDrive, stNameDirDrive, stDirDriveName };

// What a list shows: columns, groups and program icons.
enum TSFShowKind : std::uint8_t {
    sfsSize = 1 << 0,
    sfsDate = 1 << 1,
    sfsTime = 1 << 2,
    sfsAttr = 1 << 3,
    sfsDrives = 1 << 4,
    sfsDirs = 1 << 5,
    sfsProcIcons = 1 << 6,
};
using TSFShow = std::uint8_t;
inline constexpr TSFShow kShowAll = 0x7F;

// The file types of a directory search: faReadOnly, faHidden, ... of platform/FileSystem.h,
// with 0 for normal files.
struct TListSettings {
    std::string Directory; // DOS path, "e:\KOMP" or "e:\"
    std::string Mask = "*.*";
    std::uint32_t FileTypes = 0;
    TSFShow Show = kShowAll;
    bool UpperCase = false;
};

// The three groups of a folder's listing.
struct TFileGroups {
    TSortFileList Files;
    TSortFileList Dirs;
    TSortFileList Drives;

    void Clear();
    // The groups one after the other in the order of sortType.
    std::vector<const TSortFileList*> InOrder(TSortType sortType) const;
};

// Fills groups from the folder: every ";" part of the mask, then (when directories are asked
// for and shown) all folders, then the drives of the drive table. A folder that cannot be read
// lists nothing.
void ReadFileGroups(const TListSettings& settings, TFileGroups& groups);

// The columns of a line. Each has a format: printf-like with one %s (name) or %d (size)
// conversion, a date format of "dd", "mm", "yy", "yyyy", "hh", "nn", "ss" and "t" (date, time),
// or the attribute template "ARSH" (each letter blank when its attribute is not set).
enum class TColumn { Name, Size, Date, Time, Attr };

// The kind handed to OnGetFormat: name 0, size 1, date and time 2, attributes 3.
int FormatKindOf(TColumn column);
// "%-12.12s", "%9d", "mm.dd.yy", "t", "ARSH".
std::string DefaultFormat(TColumn column);
std::string ColumnText(TColumn column, const std::string& format, const TFileEntry& entry);

} // namespace install
