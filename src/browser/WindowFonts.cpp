#include "browser/WindowFonts.h"

#include <QStringList>

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

QFont Fixedsys(int pixelSize) {
    // "Fixedsys" does not exist here; a monospaced font with the box-drawing characters does.
    QFont font = WindowFont(QStringLiteral("Fixedsys"), QFont::TypeWriter, pixelSize, false);
    font.setFamilies({QStringLiteral("Fixedsys"), QStringLiteral("DejaVu Sans Mono"),
                      QStringLiteral("Liberation Mono")});
    return font;
}

} // namespace browser
