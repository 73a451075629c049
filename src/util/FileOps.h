// Copying and deleting files and folder trees. All paths are native.
#pragma once

#include <string>

namespace util {

// Copies source to target in blocks of 2048 bytes. A source that cannot be opened is no error:
// nothing happens. A target that cannot be created raises rtl::EInOutError. A failed read or a
// write that takes fewer bytes than were read (a full disk) removes the partial target and
// raises rtl::EInOutError, so a truncated copy never stays behind. A target that is the source
// itself (the same path, a hard or symbolic link, the same file through another drive) would be
// emptied by the copy: rtl::EInOutError with ERROR_SHARING_VIOLATION, and both stay untouched.
void CopyFileBlocks(const std::string& source, const std::string& target);

// Clears the file's read-only attribute and deletes it; failures are ignored.
void DeleteFileForced(const std::string& path);

// Deletes dir with everything in it, depth first. A symbolic link inside is removed as a link
// and never followed, so nothing outside dir is ever deleted. Only the final removal of a folder
// is reported: the platform message box shows "FehlerNummer: <n>", caption "Verzeichnis
// löschen"; nothing is raised.
void DeleteTree(const std::string& dir);

} // namespace util
