// Well-known folders, as native paths without a trailing separator.
#pragma once

#include <string>

namespace platform {

// The folder of the running program file (from /proc/self/exe).
std::string ProgramFolder();

// The stand-in for the Windows system directory: "/usr/lib", where the shared system libraries
// live. Nothing in the program writes there; callers only display or search it.
std::string SystemFolder();

// The user's home folder ($HOME, else the password database, else "/").
std::string HomeFolder();

} // namespace platform
