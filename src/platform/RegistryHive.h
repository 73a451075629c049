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
// holding NUL, CR or LF, and any value of another type, is written as hex(<type>):aa,bb,...
// Key and value names compare without regard to ASCII case. Reading skips what it cannot parse.
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
    // rootName is "HKEY_LOCAL_MACHINE" or the like; sections of other roots are skipped.
    static RegistryHive Parse(std::string_view text, std::string_view rootName);
    std::string Format(std::string_view rootName) const;

    // Key paths are below the root, parts separated by "\"; "" is the root itself.
    bool HasKey(std::string_view path) const;
    bool HasSubKeys(std::string_view path) const;
    // Creates the key and every missing key above it.
    void CreateKey(std::string_view path);
    // Removes the key with its values (its sub-keys must be gone already).
    void DeleteKey(std::string_view path);

    const RegistryValue* FindValue(std::string_view path, std::string_view name) const;
    // The key must exist.
    void SetValue(std::string_view path, RegistryValue value);

    // Whether anything was changed since Parse.
    bool Modified() const { return modified_; }

private:
    struct Key {
        std::string path;
        std::vector<RegistryValue> values;
    };
    Key* FindKey(std::string_view path);
    const Key* FindKey(std::string_view path) const;

    std::vector<Key> keys_;
    bool modified_ = false;
};

// "SOFTWARE\\Kestrova\\" and "\\SOFTWARE\\Kestrova" both become "SOFTWARE\\Kestrova".
std::string NormalKeyPath(std::string_view path);
// parent + "\\" + child, either may be empty.
std::string JoinKeyPath(std::string_view parent, std::string_view child);

} // namespace platform
