#include "browser/Artwork.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace browser {
namespace {

// The drawing is made on a 240 x 240 canvas and scaled to the requested size.
constexpr qreal kCanvas = 240;

void DrawBackground(QPainter& painter) {
    QLinearGradient sky(0, 0, 0, kCanvas);
    sky.setColorAt(0, QColor(226, 234, 246));
    sky.setColorAt(1, QColor(252, 252, 255));
    painter.fillRect(QRectF(0, 0, kCanvas, kCanvas), sky);
}

// A package standing on a shelf: a box with a darker spine and a label stripe.
void DrawPackage(QPainter& painter, QRectF box, QColor colour) {
    painter.setPen(QPen(colour.darker(160), 1));
    painter.setBrush(colour);
    painter.drawRect(box);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour.darker(130));
    painter.drawRect(QRectF(box.left(), box.top(), 4, box.height()));
    painter.setBrush(QColor(255, 255, 255, 170));
    painter.drawRect(QRectF(box.left() + 6, box.top() + box.height() / 3, box.width() - 9, 4));
}

void DrawCabinet(QPainter& painter) {
    const QRectF outer(22, 14, 150, 206);
    QLinearGradient wood(outer.topLeft(), outer.topRight());
    wood.setColorAt(0, QColor(140, 86, 44));
    wood.setColorAt(1, QColor(104, 60, 28));
    painter.setPen(QPen(QColor(70, 40, 18), 1.5));
    painter.setBrush(wood);
    painter.drawRoundedRect(outer, 4, 4);

    const QRectF inside = outer.adjusted(9, 9, -9, -9);
    painter.setBrush(QColor(244, 238, 226));
    painter.drawRect(inside);

    const qreal shelves[] = {inside.top() + 60, inside.top() + 122, inside.bottom() - 2};
    const QColor colours[] = {QColor(196, 44, 52), QColor(40, 96, 180), QColor(236, 176, 32),
                              QColor(48, 140, 76), QColor(128, 64, 160)};
    int colour = 0;
    for (qreal shelf : shelves) {
        qreal left = inside.left() + 6;
        for (int i = 0; i < 5 && left < inside.right() - 20; ++i) {
            const qreal width = 16 + (i * 7 + colour * 3) % 10;
            const qreal height = 34 + (i * 11 + colour * 5) % 18;
            DrawPackage(painter, QRectF(left, shelf - height, width, height), colours[colour % 5]);
            left += width + 3;
            ++colour;
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(90, 52, 24));
        painter.drawRect(QRectF(inside.left(), shelf, inside.width(), 5));
    }

    // The glass door: a faint tint and a diagonal reflection.
    painter.setBrush(QColor(190, 220, 240, 50));
    painter.drawRect(inside);
    QPainterPath reflection;
    reflection.moveTo(inside.left() + 20, inside.bottom());
    reflection.lineTo(inside.left() + 60, inside.bottom());
    reflection.lineTo(inside.right(), inside.top() + 40);
    reflection.lineTo(inside.right(), inside.top());
    reflection.closeSubpath();
    painter.setBrush(QColor(255, 255, 255, 60));
    painter.drawPath(reflection.intersected([&] {
        QPainterPath clip;
        clip.addRect(inside);
        return clip;
    }()));
}

void DrawDisc(QPainter& painter) {
    const QPointF centre(158, 160);
    const qreal radius = 70;

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 50));
    painter.drawEllipse(centre + QPointF(4, 5), radius, radius);

    QConicalGradient sheen(centre, 30);
    sheen.setColorAt(0.00, QColor(236, 238, 244));
    sheen.setColorAt(0.12, QColor(196, 226, 250));
    sheen.setColorAt(0.22, QColor(250, 214, 238));
    sheen.setColorAt(0.32, QColor(246, 246, 206));
    sheen.setColorAt(0.50, QColor(188, 192, 204));
    sheen.setColorAt(0.62, QColor(206, 238, 222));
    sheen.setColorAt(0.72, QColor(236, 210, 246));
    sheen.setColorAt(0.84, QColor(252, 240, 210));
    sheen.setColorAt(1.00, QColor(236, 238, 244));
    painter.setPen(QPen(QColor(110, 114, 126), 1.5));
    painter.setBrush(sheen);
    painter.drawEllipse(centre, radius, radius);

    QRadialGradient light(centre + QPointF(-24, -28), radius);
    light.setColorAt(0, QColor(255, 255, 255, 120));
    light.setColorAt(1, QColor(255, 255, 255, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(light);
    painter.drawEllipse(centre, radius, radius);

    painter.setPen(QPen(QColor(150, 154, 166), 1));
    painter.setBrush(QColor(214, 218, 226, 220));
    painter.drawEllipse(centre, 22, 22);
    painter.setBrush(QColor(244, 246, 250));
    painter.drawEllipse(centre, 8, 8);
}

} // namespace

QPixmap VitrinePicture(QSize size) {
    QPixmap picture(size);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size.width() / kCanvas, size.height() / kCanvas);
    DrawBackground(painter);
    DrawCabinet(painter);
    DrawDisc(painter);
    return picture;
}

} // namespace browser
