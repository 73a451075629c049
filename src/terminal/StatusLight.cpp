#include "terminal/StatusLight.h"

#include <QPainter>

namespace terminal {

TStatusLight::TStatusLight(QWidget* parent) : QWidget(parent) {}

void TStatusLight::SetLit(bool lit) {
    if (lit_ == lit)
        return;
    lit_ = lit;
    update();
}

void TStatusLight::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF lamp = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    p.setPen(QPen(QColor(64, 64, 64), 1));
    p.setBrush(lit_ ? QColor(0, 230, 0) : QColor(0, 80, 0));
    p.drawEllipse(lamp);
    if (lit_) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(210, 255, 210));
        p.drawEllipse(QRectF(lamp.left() + lamp.width() * 0.25, lamp.top() + lamp.height() * 0.2,
                             lamp.width() * 0.3, lamp.height() * 0.3));
    }
}

} // namespace terminal
