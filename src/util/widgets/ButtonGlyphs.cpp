#include "util/widgets/ButtonGlyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace util {
namespace {

constexpr int kGlyphSize = 16;
const QColor kGreen(0, 128, 0);
const QColor kRed(192, 0, 0);

void DrawCheck(QPainter& painter, QPointF offset) {
    QPainterPath tick;
    tick.moveTo(offset + QPointF(2, 8));
    tick.lineTo(offset + QPointF(6, 12));
    tick.lineTo(offset + QPointF(13, 3));
    painter.setPen(QPen(kGreen, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(tick);
}

void DrawCross(QPainter& painter) {
    painter.setPen(QPen(kRed, 2.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(3, 3), QPointF(13, 13));
    painter.drawLine(QPointF(13, 3), QPointF(3, 13));
}

void DrawNoEntry(QPainter& painter) {
    painter.setPen(QPen(kRed, 2));
    painter.drawEllipse(QRectF(2, 2, 12, 12));
    painter.drawLine(QPointF(4.5, 11.5), QPointF(11.5, 4.5));
}

} // namespace

QIcon ButtonGlyph(TButtonGlyph glyph) {
    QPixmap pixmap(kGlyphSize, kGlyphSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (glyph) {
    case TButtonGlyph::Check:
        DrawCheck(painter, {0, 0});
        break;
    case TButtonGlyph::DoubleCheck:
        painter.scale(0.8, 1.0);
        DrawCheck(painter, {0, 0});
        DrawCheck(painter, {6, 0});
        break;
    case TButtonGlyph::Cross:
        DrawCross(painter);
        break;
    case TButtonGlyph::NoEntry:
        DrawNoEntry(painter);
        break;
    }
    return QIcon(pixmap);
}

} // namespace util
