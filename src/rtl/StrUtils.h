// Small string helpers for ANSI strings.
#pragma once

#include <string>
#include <string_view>

namespace rtl {

// Changes only the ASCII letters a-z; every other byte (umlauts, ß) stays as it is.
std::string UpperCaseAscii(std::string_view text);
char UpperCaseAscii(char c);
// The same for A-Z to a-z.
std::string LowerCaseAscii(std::string_view text);
char LowerCaseAscii(char c);

// Whether a and b are equal comparing ASCII letters without case.
bool SameTextAscii(std::string_view a, std::string_view b);

// Removes leading and trailing blanks (spaces only; tabs and other characters stay).
std::string TrimBlanks(std::string_view text);

// Removes leading and trailing white space (blanks, tabs, line ends); a view into text.
std::string_view TrimWhiteSpace(std::string_view text);

// Position of needle in haystack comparing ASCII letters without case, or npos.
std::size_t FindNoCase(std::string_view haystack, std::string_view needle, std::size_t from = 0);

// The value of a hexadecimal digit (either case), or -1 for any other character.
int HexDigitValue(char c);

// Decimal text of an integer; an optional sign followed by digits is an integer.
bool TryStrToInt(std::string_view text, long long& value);

} // namespace rtl
