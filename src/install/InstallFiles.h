// The file work of the install dialog without its window: copying one file safely, the folders
// that must never be deleted, and the German text of an input/output error. Paths are native.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace install {

// Copies source into folder under name, in blocks of 2048 bytes, calling progress with the bytes
// copied so far after each block. The copy is written under a temporary name and renamed over
// name only when complete, with the current time and without the read-only attribute; on any
// failure (source missing or unreadable, disk full, a link or folder at name) the old target
// stays untouched, no partial file remains, and rtl::EInOutError is raised.
void CopyInstallFile(const std::string& source, const std::string& folder, const std::string& name,
                     const std::function<void(std::int64_t copied)>& progress);

// Whether deleting folder with everything in it would delete the file system's root, the home
// folder or a drive's root folder: folder is one of them or holds one.
bool IsProtectedFolder(const std::string& folder);

// "Zugriff verweigert (Fehler 5)" and the like, Windows-1252.
std::string IoErrorText(int errorCode);

} // namespace install
