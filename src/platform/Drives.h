// Drive letters over native folders. The table is read from the file "drives" in the
// configuration folder, one line per letter or serial port:
//
//     e: = /media/cdrom  cdrom  KSTRV02      letter = folder  type  [volume label]
//     com1 = /dev/ttyUSB0                    serial port = device file
//
// Types are fixed, removable, cdrom and remote; a folder with blanks is written in double
// quotes; "~" at its start is the home folder; lines starting with "#" or ";" are comments.
// Where the file says nothing, c: is the home folder (fixed), and every mounted ISO 9660 or UDF
// file system gets the next free letter from d: on as a CD-ROM drive labelled with its volume
// label. The table is built anew on each query, so media mounted meanwhile are seen.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The Windows drive type codes.
enum class DriveType {
    Unknown = 0,
    NoRootDir = 1,
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CdRom = 5
};

struct Drive {
    char letter = 'c';  // lower case
    std::string folder; // native, without a trailing separator (except "/")
    DriveType type = DriveType::Fixed;
    std::string label; // ANSI
};

struct DrivesFile {
    std::vector<Drive> drives;
    std::map<int, std::string> serialPorts; // port number → device file
};

// A mounted CD file system from the mount table.
struct CdMount {
    std::string device;
    std::string mountPoint;
};

// Malformed lines are skipped.
DrivesFile ParseDrivesFile(std::string_view text, const std::string& homeFolder);

// The ISO 9660 and UDF entries of a mount table in the format of /proc/self/mounts.
std::vector<CdMount> ParseCdMounts(std::string_view mountTable);

class DriveTable {
public:
    DriveTable() = default;
    explicit DriveTable(std::vector<Drive> drives) : drives_(std::move(drives)) {}

    // labelOf reads the volume label of a mounted device.
    static DriveTable Build(const DrivesFile& file, const std::string& homeFolder,
                            const std::vector<CdMount>& mounts,
                            std::string (*labelOf)(const std::string& device));

    // nullptr when the letter (either case) has no drive.
    const Drive* Find(char letter) const;
    // The drive whose folder holds nativePath, the deepest folder winning; nullptr if none.
    const Drive* FindHolding(const std::string& nativePath) const;
    const std::vector<Drive>& Drives() const { return drives_; }

private:
    std::vector<Drive> drives_;
};

// The table from the configuration folder's "drives", /proc/self/mounts and the home folder.
// Without readLabels the CD drives found in the mount table get no label, and no device is read.
DriveTable LoadDriveTable(bool readLabels = true);

// Like GetDriveType: root is "e:\", "e:" or "e"; NoRootDir for a letter without a drive.
DriveType GetDriveType(std::string_view root);

// Like GetVolumeInformation's label: nullopt when the drive does not exist or its folder is not
// there (no medium); otherwise the label, possibly empty.
std::optional<std::string> GetVolumeLabel(std::string_view root);

// 'E' → 'e'; letters are kept in lower case.
char LowerDriveLetter(char letter);

// "com1" … "com255" (any case) → 1 … 255; nullopt for any other name.
std::optional<int> SerialPortNumber(std::string_view name);

// The configuration folder's "drives" file; empty when there is none.
DrivesFile ReadDrivesFile();

} // namespace platform
