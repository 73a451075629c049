#include "browser/Images.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

namespace browser {

namespace {

constexpr int kTreeSize = 16;
constexpr int kGlyphSize = 18;

QPixmap BlankPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// A sheet of paper with a folded corner and a few text lines.
void DrawDocument(QPainter& p, QRect r) {
    const int fold = r.width() / 3;
    QPolygon sheet;
    sheet << r.topLeft() << QPoint(r.right() - fold, r.top()) << QPoint(r.right(), r.top() + fold)
          << r.bottomRight() << r.bottomLeft();
    p.setPen(QColor(60, 60, 60));
    p.setBrush(Qt::white);
    p.drawPolygon(sheet);
    p.drawLine(QPoint(r.right() - fold, r.top()), QPoint(r.right() - fold, r.top() + fold));
    p.drawLine(QPoint(r.right() - fold, r.top() + fold), QPoint(r.right(), r.top() + fold));
    p.setPen(QColor(120, 120, 160));
    for (int y = r.top() + fold + 2; y < r.bottom() - 1; y += 2)
        p.drawLine(r.left() + 2, y, r.right() - 2, y);
}

void DrawFolder(QPainter& p, QRect r) {
    p.setPen(QColor(120, 90, 0));
    p.setBrush(QColor(240, 200, 80));
    QPolygon tab;
    tab << QPoint(r.left(), r.top() + 2) << QPoint(r.left() + 5, r.top() + 2)
        << QPoint(r.left() + 7, r.top() + 4) << QPoint(r.left(), r.top() + 4);
    p.drawPolygon(tab);
    p.drawRect(QRect(r.left(), r.top() + 4, r.width() - 1, r.height() - 5));
}

QPixmap DrawTreeImage(int index) {
    QPixmap pixmap = BlankPixmap(kTreeSize);
    QPainter p(&pixmap);
    if (index == tiFolder) {
        DrawFolder(p, QRect(1, 2, 14, 12));
        return pixmap;
    }
    DrawDocument(p, QRect(2, 1, 11, 14));
    if (index == tiNewDocument) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(220, 0, 0));
        p.drawEllipse(QRectF(8.5, 8.5, 7, 7));
    }
    return pixmap;
}

// Filled triangle pointing in the given direction inside r.
void DrawArrow(QPainter& p, QRectF r, Qt::ArrowType direction, QColor colour) {
    QPolygonF arrow;
    switch (direction) {
    case Qt::UpArrow:
        arrow << QPointF(r.center().x(), r.top()) << r.bottomRight() << r.bottomLeft();
        break;
    case Qt::DownArrow:
        arrow << r.topLeft() << r.topRight() << QPointF(r.center().x(), r.bottom());
        break;
    case Qt::LeftArrow:
        arrow << QPointF(r.left(), r.center().y()) << r.topRight() << r.bottomRight();
        break;
    default:
        arrow << r.topLeft() << QPointF(r.right(), r.center().y()) << r.bottomLeft();
        break;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(arrow);
}

void DrawPrinter(QPainter& p) {
    p.setPen(QColor(40, 40, 40));
    p.setBrush(Qt::white);
    p.drawRect(5, 1, 8, 6);
    p.setBrush(QColor(170, 170, 170));
    p.drawRect(1, 7, 16, 7);
    p.setBrush(Qt::white);
    p.drawRect(4, 12, 10, 5);
    p.setPen(QColor(0, 160, 0));
    p.drawPoint(14, 9);
}

void DrawMagnifier(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 40), 2));
    p.setBrush(QColor(200, 230, 255));
    p.drawEllipse(QRectF(2, 2, 9, 9));
    p.setPen(QPen(QColor(120, 60, 0), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.5, 10.5), QPointF(16, 16));
}

void DrawTerminal(QPainter& p) {
    p.setPen(QColor(40, 40, 40));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(1, 1, 16, 12);
    p.setBrush(Qt::black);
    p.drawRect(3, 3, 12, 8);
    p.setPen(QColor(0, 220, 0));
    p.drawLine(5, 5, 7, 7);
    p.drawLine(7, 7, 5, 9);
    p.drawLine(8, 9, 11, 9);
    p.setPen(QColor(40, 40, 40));
    p.setBrush(QColor(170, 170, 170));
    p.drawRect(4, 14, 10, 3);
}

void DrawOptions(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 90), 3, Qt::SolidLine, Qt::RoundCap));
    const QPointF centre(9, 9);
    for (int i = 0; i < 4; ++i) {
        p.save();
        p.translate(centre);
        p.rotate(45.0 * i);
        p.drawLine(QPointF(-7, 0), QPointF(7, 0));
        p.restore();
    }
    p.setPen(QPen(QColor(60, 60, 90), 1));
    p.setBrush(QColor(180, 180, 210));
    p.drawEllipse(centre, 4.5, 4.5);
    p.setBrush(Qt::white);
    p.drawEllipse(centre, 1.8, 1.8);
}

void DrawInfo(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 80, 200));
    p.drawEllipse(QRectF(1, 1, 16, 16));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(7.8, 3.5, 2.6, 2.6));
    p.drawRect(QRectF(7.8, 7.5, 2.6, 7));
}

void DrawQuit(QPainter& p) {
    p.setPen(QColor(80, 40, 0));
    p.setBrush(QColor(150, 90, 30));
    p.drawRect(3, 1, 9, 16);
    p.setBrush(QColor(250, 220, 0));
    p.drawEllipse(QRectF(9, 8, 2, 2));
    DrawArrow(p, QRectF(12, 6, 5, 6), Qt::RightArrow, QColor(200, 0, 0));
}

void DrawOrder(QPainter& p) {
    p.setPen(QColor(40, 40, 40));
    p.setBrush(QColor(255, 255, 220));
    p.drawRect(2, 3, 14, 12);
    p.setPen(QColor(200, 0, 0));
    p.drawLine(2, 3, 9, 9);
    p.drawLine(16, 3, 9, 9);
    p.setPen(QColor(0, 0, 160));
    p.drawLine(4, 12, 8, 12);
}

void DrawInstall(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(40, 40, 40));
    p.setBrush(QColor(210, 210, 220));
    p.drawEllipse(QRectF(1, 1, 12, 12));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(5.5, 5.5, 3, 3));
    DrawArrow(p, QRectF(10, 10, 7, 7), Qt::DownArrow, QColor(0, 140, 0));
}

void DrawCopy(QPainter& p) {
    DrawDocument(p, QRect(1, 1, 10, 12));
    DrawDocument(p, QRect(6, 5, 10, 12));
}

void DrawFirst(QPainter& p) {
    p.setPen(QColor(0, 0, 120));
    p.setBrush(QColor(0, 0, 120));
    p.drawRect(3, 2, 12, 2);
    DrawArrow(p, QRectF(4, 6, 10, 10), Qt::UpArrow, QColor(0, 0, 160));
}

void DrawGlyph(QPainter& p, Glyph glyph) {
    const QColor arrowColour(0, 0, 160);
    switch (glyph) {
    case Glyph::First:
        DrawFirst(p);
        break;
    case Glyph::LevelUp:
        DrawArrow(p, QRectF(3, 3, 12, 12), Qt::LeftArrow, arrowColour);
        break;
    case Glyph::Down:
    case Glyph::NavNext:
        DrawArrow(p, QRectF(3, 4, 12, 10), Qt::DownArrow, arrowColour);
        break;
    case Glyph::NavUp:
        DrawArrow(p, QRectF(3, 4, 12, 10), Qt::UpArrow, arrowColour);
        break;
    case Glyph::NavBack:
        DrawArrow(p, QRectF(2, 4, 10, 10), Qt::LeftArrow, QColor(160, 0, 0));
        DrawArrow(p, QRectF(8, 4, 10, 10), Qt::LeftArrow, QColor(160, 0, 0));
        break;
    case Glyph::Copy:
        DrawCopy(p);
        break;
    case Glyph::Print:
        DrawPrinter(p);
        break;
    case Glyph::Install:
        DrawInstall(p);
        break;
    case Glyph::Search:
        DrawMagnifier(p);
        break;
    case Glyph::Order:
        DrawOrder(p);
        break;
    case Glyph::Terminal:
        DrawTerminal(p);
        break;
    case Glyph::Options:
        DrawOptions(p);
        break;
    case Glyph::Info:
        DrawInfo(p);
        break;
    case Glyph::Quit:
        DrawQuit(p);
        break;
    }
}

} // namespace

QPixmap TreeImage(int index) {
    return DrawTreeImage(index);
}

QIcon GlyphIcon(Glyph glyph) {
    QPixmap pixmap = BlankPixmap(kGlyphSize);
    {
        QPainter p(&pixmap);
        DrawGlyph(p, glyph);
    }
    return QIcon(pixmap);
}

} // namespace browser
