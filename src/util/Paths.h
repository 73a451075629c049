// Folders of the program and small path helpers.
//
// ProgramDir, DataDir and SystemDir are native folder paths, because the GUI hands them to
// native file functions; ProgramDir and DataDir end in the native separator, as the program's
// "ends in a backslash" folders do. AddBackslash and FileBaseName work on DOS paths, the
// program's own terms.
#pragma once

#include <string>
#include <string_view>

namespace util {

// The folder of the program file, ending in "/".
std::string ProgramDir();
// ProgramDir() + "Data/".
std::string DataDir();
// The platform's system folder (see platform/Folders.h), without a trailing separator.
std::string SystemDir();

// path + "\", unless path is a bare drive («c:») or already ends in "\"; "" gives "\".
std::string AddBackslash(std::string_view path);

// The file-name part of path (after the last "\", "/" or ":"), with its first "." and up to
// three characters after it removed: «readme.txt» → «readme», «a.b.c» → «a».
std::string FileBaseName(std::string_view path);

} // namespace util
