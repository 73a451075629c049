// Fuzz target for reading a program's first icon: the input is a program file. Checks: no crash
// or sanitizer error, and an icon found is one whole .ico image of the size its entry declares.
#include "platform/ProgramIcon.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto icon =
        platform::FirstIconOfProgram(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!icon)
        return 0;
    const auto byte = [&](std::size_t at) { return static_cast<std::uint8_t>((*icon)[at]); };
    const std::uint32_t declared = byte(14) | byte(15) << 8 | byte(16) << 16 | byte(17) << 24;
    if (icon->size() < 22 || byte(2) != 1 || byte(4) != 1 || declared != icon->size() - 22 ||
        declared > size)
        std::abort();
    return 0;
}
