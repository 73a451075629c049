// One root key's tree of keys and values, held in memory, and its text form in the REGEDIT4
// export syntax:
//
//     REGEDIT4
//
//     [HKEY_LOCAL_MACHINE\SOFTWARE\Kestrova\Vitrine32\2.0]
//     "DefaultDestinationPath"="c:\\pandex\\component"
//     "ShowHints"=dword:00000001
//
// Strings are written as their bytes (Windows-1252 as it is) with "\" and """ escaped; a string
// holding NUL, CR or LF, and any value of another type, is written as hex(<type in hex>):aa,bb,...
// Key and value names compare without regard to ASCII case.
//
// The hive keeps the file's text: a change rewrites only the lines of the value or key it
// changes, so comments, lines it cannot parse and sections of other roots stay as written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct RegistryValue {
    std::string name; // empty: the key's default value ("@")
    std::uint32_t type = 0;
    std::string data;
};

class RegistryHive {
public:
    // rootName is "HKEY_LOCAL_MACHINE" or the like; only its sections are keys of this hive.
    static RegistryHive Parse(std::string_view text, std::string_view rootName);
    std::string Format() const;

    // Key paths are below the root, parts separated by "\"; "" is the root itself.
    bool HasKey(std::string_view path) const;
    bool HasSubKeys(std::string_view path) const;
    // Creates the key and every missing key above it, as sections at the end of the text.
    void CreateKey(std::string_view path);
    // Removes the key's section with its values (its sub-keys must be gone already).
    void DeleteKey(std::string_view path);

    const RegistryValue* FindValue(std::string_view path, std::string_view name) const;
    // The key must exist. A changed value keeps its place; a new one follows the key's last.
    void SetValue(std::string_view path, RegistryValue value);

    // Whether anything was changed since Parse.
    bool Modified() const { return modified_; }

private:
    // One logical line of the text (continued hex lines joined), as it was written.
    struct Line {
        enum class Kind { Other, Section, Value };
        std::string raw; // the physical lines, line ends included
        Kind kind = Kind::Other;
        bool ours = false;   // a section of this root, or a value in one
        std::string path;    // the key path of such a section or value
        RegistryValue value; // a value's name and data
    };
    // Index of the section line of path; lines_.size() when there is none.
    std::size_t FindSection(std::string_view path) const;
    // One past the section's last value line (or its header), where a new value goes.
    std::size_t ValueInsertPoint(std::size_t section) const;
    std::size_t FindValueLine(std::string_view path, std::string_view name) const;
    void AppendSection(const std::string& path);

    std::string rootName_;
    std::vector<Line> lines_;
    bool modified_ = false;
};

// "SOFTWARE\\Kestrova\\" and "\\SOFTWARE\\Kestrova" both become "SOFTWARE\\Kestrova".
std::string NormalKeyPath(std::string_view path);
// parent + "\\" + child, either may be empty.
std::string JoinKeyPath(std::string_view parent, std::string_view child);

} // namespace platform
