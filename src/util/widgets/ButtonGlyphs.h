// Small pictures for the standard dialog buttons, drawn at run time.
#pragma once

#include <QIcon>

namespace util {

enum class TButtonGlyph { Check, Cross, DoubleCheck, NoEntry };

QIcon ButtonGlyph(TButtonGlyph glyph);

} // namespace util
