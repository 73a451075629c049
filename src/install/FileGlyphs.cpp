#include "install/FileGlyphs.h"

#include <QHash>
#include <QPainter>
#include <algorithm>

namespace install {

namespace {

// A folder: its tab and its body, yellow with a dark edge.
void DrawDirectory(QPainter& p, double u) {
    p.setPen(QPen(QColor(128, 96, 0), 1));
    p.setBrush(QColor(240, 200, 64));
    p.drawRect(QRectF(1 * u, 2 * u, 5 * u, 2 * u));
    p.drawRect(QRectF(1 * u, 3.5 * u, 12 * u, 8 * u));
}

// A diskette: body, label and shutter.
void DrawFloppy(QPainter& p, double u) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(48, 48, 160));
    p.drawRect(QRectF(1 * u, 1 * u, 12 * u, 12 * u));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3 * u, 1 * u, 8 * u, 5 * u));
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(QRectF(4 * u, 9 * u, 6 * u, 4 * u));
}

// A program: a window with its blue title bar.
void DrawProgram(QPainter& p, double u) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1 * u, 2 * u, 12 * u, 10 * u));
    p.setBrush(QColor(0, 0, 160));
    p.drawRect(QRectF(1 * u, 2 * u, 12 * u, 3 * u));
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
