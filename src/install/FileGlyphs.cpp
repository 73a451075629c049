#include "install/FileGlyphs.h"

#include <QHash>
#include <QPainter>
#include <algorithm>

namespace install {

namespace {

// A box filled with brush; x, y, width and height in fourteenths of the glyph (u pixels each).
void Box(QPainter& p, double u, const QBrush& brush, double x, double y, double width,
         double height) {
    p.setBrush(brush);
    p.drawRect(QRectF(x * u, y * u, width * u, height * u));
}

// A folder: its tab and its body, yellow with a dark edge.
void DrawDirectory(QPainter& p, double u) {
    p.setPen(QPen(QColor(128, 96, 0), 1));
    const QColor yellow(240, 200, 64);
    Box(p, u, yellow, 1, 2, 5, 2);
    Box(p, u, yellow, 1, 3.5, 12, 8);
}

// A diskette: body, label and shutter.
void DrawFloppy(QPainter& p, double u) {
    p.setPen(QPen(Qt::black, 1));
    Box(p, u, QColor(48, 48, 160), 1, 1, 12, 12);
    Box(p, u, Qt::white, 3, 1, 8, 5);
    Box(p, u, QColor(192, 192, 192), 4, 9, 6, 4);
}

// A program: a window with its blue title bar.
void DrawProgram(QPainter& p, double u) {
    p.setPen(QPen(Qt::black, 1));
    Box(p, u, Qt::white, 1, 2, 12, 10);
    Box(p, u, QColor(0, 0, 160), 1, 2, 12, 3);
}

// A document: a sheet with a folded corner and lines of text.
void DrawDocument(QPainter& p, double u) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    const QPointF sheet[] = {
        {3 * u, 1 * u}, {9 * u, 1 * u}, {12 * u, 4 * u}, {12 * u, 13 * u}, {3 * u, 13 * u}};
    p.drawPolygon(sheet, 5);
    p.drawLine(QPointF(9 * u, 1 * u), QPointF(9 * u, 4 * u));
    p.drawLine(QPointF(9 * u, 4 * u), QPointF(12 * u, 4 * u));
    p.setPen(QPen(QColor(96, 96, 96), 1));
    for (double y : {6.0, 8.0, 10.0})
        p.drawLine(QPointF(5 * u, y * u), QPointF(10 * u, y * u));
}

QPixmap Draw(TFileGlyph glyph, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    const double u = size / 14.0;
    switch (glyph) {
    case TFileGlyph::Directory:
        DrawDirectory(p, u);
        break;
    case TFileGlyph::Floppy:
        DrawFloppy(p, u);
        break;
    case TFileGlyph::Program:
        DrawProgram(p, u);
        break;
    case TFileGlyph::Document:
        DrawDocument(p, u);
        break;
    }
    return pixmap;
}

} // namespace

QPixmap FileGlyph(TFileGlyph glyph, int size) {
    static QHash<int, QPixmap> drawn;
    size = std::max(size, 8);
    const int key = size * 4 + static_cast<int>(glyph);
    auto it = drawn.find(key);
    if (it == drawn.end())
        it = drawn.insert(key, Draw(glyph, size));
    return *it;
}

} // namespace install
