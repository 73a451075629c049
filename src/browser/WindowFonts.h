// The fonts the small windows ask for by their Windows names; the font configuration supplies
// metric-compatible faces where the originals are missing. Heights are in pixels.
#pragma once

#include <QFont>

namespace browser {

QFont TimesNewRoman(int pixelSize, bool bold);
QFont MsSansSerif(int pixelSize, bool bold);
QFont Fixedsys(int pixelSize);

} // namespace browser
