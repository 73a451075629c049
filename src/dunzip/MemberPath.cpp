#include "dunzip/MemberPath.h"

namespace unzip {

namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

std::optional<MemberPath> SplitMemberName(std::string_view name) {
    if (name.empty() || IsSeparator(name.front()))
        return std::nullopt;
    if (HasDriveLetter(name))
        return std::nullopt;
    MemberPath path;
    path.isFolder = IsSeparator(name.back());
    std::string part;
    for (std::size_t i = 0; i <= name.size(); ++i) {
        if (i < name.size() && !IsSeparator(name[i])) {
            part += name[i];
            continue;
        }
        if (part == "..")
            return std::nullopt;
        if (!part.empty() && part != ".")
            path.parts.push_back(std::move(part));
        part.clear();
    }
    if (path.parts.empty())
        return std::nullopt;
    return path;
}

std::string_view LastNamePart(std::string_view name) {
    while (!name.empty() && IsSeparator(name.back()))
        name.remove_suffix(1);
    std::size_t start = name.size();
    while (start > 0 && !IsSeparator(name[start - 1]))
        --start;
    return name.substr(start);
}

bool HasDriveLetter(std::string_view path) {
    return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':';
}

} // namespace unzip
