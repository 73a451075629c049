// The stored name of an archive member taken apart into the names it creates below the
// destination, or refused when it could reach outside it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace unzip {

struct MemberPath {
    std::vector<std::string> parts; // never empty, never "." or ".."
    bool isFolder = false;          // the stored name ends in "/" or "\"
};

// "\" counts as "/". Refused (nullopt): an absolute name, a name starting with a drive letter, a
// ".." part, or a name without any part. Empty and "." parts are dropped.
std::optional<MemberPath> SplitMemberName(std::string_view name);

// The last part of the stored name ("DOC\README.TXT" → "README.TXT"), for matching the member
// pattern.
std::string_view LastNamePart(std::string_view name);

// A path that starts with a drive letter ("e:\KOMP\X.ZIP", "c:"): a DOS path of the program's.
bool HasDriveLetter(std::string_view path);

} // namespace unzip
