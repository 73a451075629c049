#include "cli/TextOutput.h"

#include "platform/CodePage.h"
#include "rtl/Exceptions.h"

#include <cstdio>

namespace cli {

bool IsAsciiControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

namespace {

bool IsAnsiControl(unsigned char c) {
    return IsAsciiControl(c) || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

} // namespace

std::string ShowControls(std::string_view text, bool (*isControl)(unsigned char)) {
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (!isControl(byte)) {
            shown += c;
            continue;
        }
        char escaped[5];
        std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
        shown += escaped;
    }
    return shown;
}

std::string ShownAnsiText(std::string_view ansiText) {
    return platform::Ansi1252ToUtf8(ShowControls(ansiText, IsAnsiControl));
}

void TextOutput::Add(std::string_view prefix, std::string_view ansiText) {
    text_ += prefix;
    text_ += ShownAnsiText(ansiText);
    text_ += '\n';
}

void TextOutput::Write() const {
    if (std::fwrite(text_.data(), 1, text_.size(), stdout) != text_.size() ||
        std::fflush(stdout) != 0)
        throw rtl::EWriteError();
}

} // namespace cli
