// The one crossing of catalogue and settings text (Windows-1252 bytes) into Qt's Unicode strings.
#pragma once

#include <QString>
#include <string>

namespace browser {

QString AnsiToQt(const std::string& ansi);
// Characters Windows-1252 lacks become "?".
std::string QtToAnsi(const QString& text);

} // namespace browser
