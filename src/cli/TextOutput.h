// The tool's text output: one item per line, in UTF-8, converted from the catalogue's
// Windows-1252 bytes. Lines are collected and written when the command calls Write: a command
// that fails half-way prints only its error, unless it writes what it has first (as the search
// does with the hits found before a record failed to read).
#pragma once

#include <string>
#include <string_view>

namespace cli {

class TextOutput {
public:
    // One line: prefix (ASCII) followed by the Windows-1252 text.
    void Add(std::string_view prefix, std::string_view ansiText = {});
    // Everything to standard output; "Stream write error" when it could not take all.
    void Write() const;

private:
    std::string text_;
};

} // namespace cli
