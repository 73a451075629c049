#include "terminal/TerminalGlyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace terminal {

namespace {

constexpr int kSize = 20;

// A telephone handset lying across the picture.
void DrawHandset(QPainter& p, QColor colour) {
    QPainterPath path;
    path.moveTo(3, 9);
    path.cubicTo(3, 4, 17, 4, 17, 9);
    p.setPen(QPen(colour, 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(1, 8, 6, 4), 1.5, 1.5);
    p.drawRoundedRect(QRectF(13, 8, 6, 4), 1.5, 1.5);
}

void DrawDial(QPainter& p) {
    DrawHandset(p, QColor(0, 110, 0));
    p.setPen(QPen(QColor(40, 40, 40), 1));
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 3; ++column)
            p.drawPoint(7 + column * 3, 14 + row * 3);
}

void DrawHangUp(QPainter& p) {
    DrawHandset(p, QColor(180, 0, 0));
    p.setPen(QPen(QColor(180, 0, 0), 2));
    p.drawLine(6, 15, 14, 15);
}

// A modem box with its front lights.
void DrawModem(QPainter& p) {
    p.setPen(QColor(40, 40, 40));
    p.setBrush(QColor(200, 200, 190));
    p.drawRect(QRect(2, 8, 16, 7));
    p.setPen(Qt::NoPen);
    const QColor lights[] = {QColor(0, 200, 0), QColor(230, 180, 0), QColor(200, 0, 0)};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(lights[i]);
        p.drawRect(QRect(4 + i * 3, 12, 2, 2));
    }
    p.setPen(QPen(QColor(0, 0, 160), 2));
    p.drawLine(14, 3, 14, 7);
    p.drawLine(12, 5, 16, 5);
}

void DrawFont(QPainter& p) {
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(15);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0, 0, 128));
    p.drawText(QRect(0, 0, 12, kSize), Qt::AlignCenter, QStringLiteral("A"));
    font.setPixelSize(10);
    p.setFont(font);
    p.setPen(QColor(128, 0, 0));
    p.drawText(QRect(10, 6, 10, 14), Qt::AlignCenter, QStringLiteral("a"));
}

// A plug on its cable (the port settings).
void DrawSettings(QPainter& p) {
    p.setPen(QColor(40, 40, 40));
    p.setBrush(QColor(90, 90, 200));
    QPolygon shell;
    shell << QPoint(3, 5) << QPoint(17, 5) << QPoint(15, 11) << QPoint(5, 11);
    p.drawPolygon(shell);
    p.setPen(QColor(255, 255, 255));
    for (int x = 6; x <= 14; x += 2)
        p.drawPoint(x, 7);
    p.setPen(QPen(QColor(40, 40, 40), 2));
    p.drawLine(10, 11, 10, 18);
}

// Two linked computers (the line device).
void DrawTapi(QPainter& p) {
    p.setPen(QColor(40, 40, 40));
    p.setBrush(QColor(180, 220, 255));
    p.drawRect(QRect(1, 3, 7, 6));
    p.drawRect(QRect(12, 11, 7, 6));
    p.setPen(QPen(QColor(0, 110, 0), 1, Qt::DashLine));
    p.drawLine(5, 10, 5, 14);
    p.drawLine(5, 14, 11, 14);
}

// An open door with an arrow leaving through it.
void DrawQuit(QPainter& p) {
    p.setPen(QColor(60, 40, 0));
    p.setBrush(QColor(150, 100, 40));
    p.drawRect(QRect(3, 2, 9, 16));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 0, 0));
    QPolygon arrow;
    arrow << QPoint(10, 8) << QPoint(15, 8) << QPoint(15, 5) << QPoint(19, 10) << QPoint(15, 15)
          << QPoint(15, 12) << QPoint(10, 12);
    p.drawPolygon(arrow);
}

} // namespace

QIcon TerminalGlyph(TTerminalGlyph glyph) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (glyph) {
    case TTerminalGlyph::Dial:
        DrawDial(p);
        break;
    case TTerminalGlyph::HangUp:
        DrawHangUp(p);
        break;
    case TTerminalGlyph::ModemInit:
        DrawModem(p);
        break;
    case TTerminalGlyph::Font:
        DrawFont(p);
        break;
    case TTerminalGlyph::Settings:
        DrawSettings(p);
        break;
    case TTerminalGlyph::Tapi:
        DrawTapi(p);
        break;
    case TTerminalGlyph::Quit:
        DrawQuit(p);
        break;
    }
    p.end();
    return QIcon(pixmap);
}

} // namespace terminal
