// Fuzz target for the text view's input: catalogue text lines, read either as font-tag markup
// or, when the first line opens RTF, as RTF of a word processor. Checks: a markup font tag
// outside the font lists fails only with the list error, and what the view shows is never
// longer than the input and a blank per line (the reader skips what it cannot read and invents
// nothing).
#include "browser/TextView.h"
#include "rtl/Exceptions.h"
#include "rtl/StringList.h"

#include <QApplication>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

QApplication& Application() {
    static int argc = 1;
    static char name[] = "rtf_fuzz";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QApplication application(argc, argv);
    return application;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Application();
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    rtl::TStringList lines;
    for (std::size_t start = 0; start < input.size();) {
        const std::size_t end = std::min(input.find('\n', start), input.size());
        lines.Add(std::string(input.substr(start, end - start)));
        start = end + 1;
    }
    browser::TKVTextView view(nullptr);
    try {
        view.SetMarkupLines(lines);
    } catch (const rtl::EListError&) {
        return 0;
    }
    // Markup shows the blank before each line's paragraph mark.
    const std::size_t most = size + static_cast<std::size_t>(lines.Count()) + 1;
    if (static_cast<std::size_t>(view.toPlainText().size()) > most)
        std::abort();
    return 0;
}
