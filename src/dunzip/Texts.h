// The library's own texts (English, Windows-1252), their filling-in, and the causes of archive
// errors. The caller may replace any text through the message callback (id 13).
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace unzip {

// The text of a DUNZIP_TEXT_ number; empty for an unknown number.
std::string_view DefaultText(int number);

// text with each "%s" replaced by the next of args (missing ones by nothing). Nothing else is a
// format, so a text a caller replaced cannot make the library read or write anything else.
std::string FillText(std::string_view text, std::initializer_list<std::string_view> args);

// The number of the text that names the cause of a libzip error code.
int ZipErrorCauseText(int zipError);

} // namespace unzip
