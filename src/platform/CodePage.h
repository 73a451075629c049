// Conversions between the program's 8-bit texts and Unicode (UTF-8 in std::string):
// Windows-1252 ("ANSI", catalogue and settings text) both ways, and code page 437 ("OEM", DOS
// short descriptions) to Unicode.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Every byte has a character: the five bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D, unassigned in
// Windows-1252, become the C1 control characters of the same value, so all 256 bytes survive a
// round trip.
std::string Ansi1252ToUtf8(std::string_view ansi);

// nullopt when utf8 is not well-formed UTF-8 or holds a character Windows-1252 lacks.
std::optional<std::string> Utf8ToAnsi1252(std::string_view utf8);

// As Utf8ToAnsi1252, but each such character (or malformed byte) becomes "?".
std::string Utf8ToAnsi1252Lossy(std::string_view utf8);

// Code page 437 with its line and box-drawing characters. The bytes 0x00-0x1F and 0x7F stay the
// control characters of the same value (not the DOS picture glyphs), because the texts carry
// line breaks and tabs that must keep working.
std::string Oem437ToUtf8(std::string_view oem);

// Appends the UTF-8 bytes of one Unicode code point.
void AppendUtf8(std::string& out, char32_t c);

} // namespace platform
