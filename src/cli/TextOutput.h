// The tool's text output: one item per line, in UTF-8, converted from the catalogue's
// Windows-1252 bytes. Lines are collected and written when the command calls Write: a command
// that fails half-way prints only its error, unless it writes what it has first (as the search
// does with the hits found before a record failed to read).
#pragma once

#include <string>
#include <string_view>

namespace cli {

// Control characters of text as "\x1b" and the like, so that catalogue text can neither steer the
// terminal (ESC, BEL, CR) nor add fields or lines to the output (TAB, LF).
bool IsAsciiControl(unsigned char c);
std::string ShowControls(std::string_view text, bool (*isControl)(unsigned char));
// Windows-1252 text in UTF-8, its control characters (and the bytes Windows-1252 leaves
// undefined, which stand for C1 controls) shown as above.
std::string ShownAnsiText(std::string_view ansiText);

class TextOutput {
public:
    // One line: prefix (ASCII, the tool's own) followed by the Windows-1252 text, its control
    // characters shown visibly.
    void Add(std::string_view prefix, std::string_view ansiText = {});
    // Everything to standard output; "Stream write error" when it could not take all.
    void Write() const;

private:
    std::string text_;
};

} // namespace cli
