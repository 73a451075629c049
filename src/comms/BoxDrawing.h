// Line and block characters drawn as shapes filling their cell, so frames of box-drawing
// characters join without gaps whatever the font: the single and double lines of code page
// 437 (U+2500 … U+256C), the half and full blocks and the three shades.
#pragma once

#include <QColor>
#include <QRect>

class QPainter;

namespace comms {

// True when c is drawn here (then it was drawn into cell in colour fg over bg).
bool DrawBoxCharacter(QPainter& painter, const QRect& cell, char32_t c, const QColor& fg,
                      const QColor& bg);

} // namespace comms
