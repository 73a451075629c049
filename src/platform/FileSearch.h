// Directory search in the manner of FindFirst/FindNext, over a native folder and a DOS wildcard:
// FindFiles("/media/cdrom/KOMP/*.zip", faAnyFile). For a DOS path, map it first:
// FindFiles(*DosToNative("e:\\KOMP\\*.ZIP"), ...) (the wildcard part matches nothing and is kept).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct SearchEntry {
    std::string Name; // native file name
    std::uint32_t Attr = 0;
    std::int64_t Size = 0;
    std::uint32_t Time = 0; // DOS packed date-time of the last change
};

// The entries of the pattern's folder whose names match its last part (see Wildcard.h), sorted
// by name. As in DOS, ordinary files are always listed, hidden files and directories only when
// attributeFilter holds faHidden or faDirectory. With faDirectory, a folder that is not the root
// of a drive also lists "." and "..". An unreadable or missing folder lists nothing.
std::vector<SearchEntry> FindFiles(const std::string& nativePattern, std::uint32_t attributeFilter);

} // namespace platform
