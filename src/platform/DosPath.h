// DOS paths in the program's own terms ("e:\KOMP\DEMO.ZIP": ANSI text, "\" or "/" between the
// parts) to native paths (UTF-8 file names) and back, through the drive table. Each part is
// matched without regard to case against the entries that exist (an exact match first, else the
// alphabetically first of several); a part without a match is kept as given, so that new files
// and folders can be named. A path without a drive is on the current drive; a path without a
// leading "\" is relative to that drive's current folder. The layer keeps the current drive
// (c: at start) and each drive's current folder (its root at start), for the whole process.
#pragma once

#include "platform/Drives.h"

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// nullopt when the path's drive is not in the table.
std::optional<std::string> DosToNative(const DriveTable& table, std::string_view dosPath);
std::optional<std::string> DosToNative(std::string_view dosPath);

// The DOS path of a native one ("e:\KOMP\DEMO.ZIP"; a drive's root is "e:\"), through the drive
// whose folder holds it most closely; nullopt when no drive holds it. Names Windows-1252 lacks
// show "?" for such characters.
std::optional<std::string> NativeToDos(const DriveTable& table, std::string_view nativePath);
std::optional<std::string> NativeToDos(std::string_view nativePath);

// The full DOS path, "." and ".." resolved, without looking at any file: "e:\KOMP\X".
std::string ExpandDosPath(std::string_view dosPath);

char CurrentDrive(); // lower case
// The current folder of drive (0: the current drive) as a DOS path: "e:\KOMP" or "e:\".
std::string CurrentDirectory(char drive = 0);

// Like ChDir: makes dosPath the current folder of its drive and that drive the current one.
// False (and nothing changed) when dosPath is not an existing folder.
bool ChangeDirectory(const DriveTable& table, std::string_view dosPath);
bool ChangeDirectory(std::string_view dosPath);

} // namespace platform
