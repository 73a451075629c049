#include "browser/WindowFonts.h"

namespace browser {
namespace {

QFont WindowFont(const QString& family, QFont::StyleHint fallback, int pixelSize, bool bold) {
    QFont font(family);
    font.setStyleHint(fallback);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

} // namespace

QFont TimesNewRoman(int pixelSize, bool bold) {
    return WindowFont(QStringLiteral("Times New Roman"), QFont::Serif, pixelSize, bold);
}

QFont MsSansSerif(int pixelSize, bool bold) {
    return WindowFont(QStringLiteral("MS Sans Serif"), QFont::SansSerif, pixelSize, bold);
}

} // namespace browser
