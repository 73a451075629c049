// The German texts the installer gives the unzip library when it asks for one (message id 13),
// shared by the install dialog and the command-line tool.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace install {

// The text with that number (Windows-1252), or nullopt when the library keeps its own.
std::optional<std::string_view> UnzipText(std::int32_t number);

// The answer to message id 13: copies the text with number p1 into the library's buffer text1
// of capacity bytes (cut to fit) and returns 1; 0 when there is no such text or no room.
std::int32_t ReplaceUnzipText(std::int32_t number, char* text1, std::int32_t capacity);

} // namespace install
