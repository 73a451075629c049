#include "browser/AnsiText.h"

#include "platform/CodePage.h"

namespace browser {

QString AnsiToQt(const std::string& ansi) {
    return QString::fromStdString(platform::Ansi1252ToUtf8(ansi));
}

std::string QtToAnsi(const QString& text) {
    return platform::Utf8ToAnsi1252Lossy(text.toStdString());
}

} // namespace browser
