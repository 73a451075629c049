// A program file's own icon, as the shell extracts it: the first image of the first icon group in
// the resources of a Windows PE executable (32 or 64 bit). The image is handed out as the bytes of
// a one-image .ico file, which picture readers understand.
//
// The file is hostile input: every offset and size read from it is checked against the bytes
// there are before anything is read, and anything malformed simply yields no icon.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The .ico bytes of the first icon in the program image; nullopt when it is no PE executable,
// has no icon group, or is damaged anywhere on the way.
std::optional<std::string> FirstIconOfProgram(std::string_view image);

// The same for a native file; files above 64 MiB and unreadable files have no icon.
std::optional<std::string> ExtractFirstIcon(const std::string& nativePath);

} // namespace platform
