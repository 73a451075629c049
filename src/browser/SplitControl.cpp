#include "browser/SplitControl.h"

#include "util/widgets/Controls.h"

#include <QPalette>
#include <QWidget>
#include <algorithm>

namespace browser {
namespace {

// The colour the bar's background takes when inverted, as an XOR line on it would look.
QColor InvertedColour(const QColor& colour) {
    return QColor(255 - colour.red(), 255 - colour.green(), 255 - colour.blue());
}

} // namespace

TSplitControl::TSplitControl(QWidget* form)
    : Form(form), SplitLine(util::Named(new QWidget(form), "SplitLine")) {
    SplitLine->setAttribute(Qt::WA_TransparentForMouseEvents);
    SplitLine->setAutoFillBackground(true);
    SplitLine->hide();
}

TSplitControl::~TSplitControl() {
    if (Splitting())
        Splitter->releaseMouse();
    delete SplitLine;
}

void TSplitControl::BeginSplit(QWidget* splitter, QWidget* target) {
    Splitter = splitter;
    Target = target;
    Splitter->grabMouse();
    Horizontal = Splitter->width() > Splitter->height();
    Position = QPoint(0, 0);

    QPalette palette = SplitLine->palette();
    palette.setColor(QPalette::Window, InvertedColour(Splitter->palette().color(QPalette::Window)));
    SplitLine->setPalette(palette);
    DrawSplitLine();
    SplitLine->show();
    SplitLine->raise();
}

void TSplitControl::MoveSplit(int x, int y) {
    if (Horizontal)
        Position.setY(y);
    else
        Position.setX(x);
    DrawSplitLine();
}

void TSplitControl::EndSplit() {
    SplitLine->hide();
    const QPoint p = MapPoint(Target, Splitter, Position);
    Splitter->releaseMouse();
    Splitter = nullptr;
    // No bound applies; a drag beyond the target's near edge leaves it without height or width.
    if (Horizontal)
        Target->resize(Target->width(), std::max(0, p.y()));
    else
        Target->resize(std::max(0, p.x()), Target->height());
}

QPoint TSplitControl::MapPoint(const QWidget* to, const QWidget* from, QPoint point) {
    return to->mapFromGlobal(from->mapToGlobal(point));
}

// The line covers the bar's length at the drag position, as thick as the bar.
void TSplitControl::DrawSplitLine() {
    SplitLine->setGeometry(QRect(MapPoint(Form, Splitter, Position), Splitter->size()));
}

} // namespace browser
