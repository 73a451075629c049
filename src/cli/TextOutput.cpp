#include "cli/TextOutput.h"

#include "platform/CodePage.h"
#include "rtl/Exceptions.h"

#include <cstdio>

namespace cli {

void TextOutput::Add(std::string_view prefix, std::string_view ansiText) {
    text_ += prefix;
    text_ += platform::Ansi1252ToUtf8(ansiText);
    text_ += '\n';
}

void TextOutput::Write() const {
    if (std::fwrite(text_.data(), 1, text_.size(), stdout) != text_.size() ||
        std::fflush(stdout) != 0)
        throw rtl::EWriteError();
}

} // namespace cli
