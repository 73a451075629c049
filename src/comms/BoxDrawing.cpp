#include "comms/BoxDrawing.h"

#include <QPainter>
#include <algorithm>

namespace comms {

namespace {

// The arms of a line character: 0 none, 1 single, 2 double.
struct Arms {
    int left, right, up, down;
};

bool ArmsOf(char32_t c, Arms& arms) {
    struct Entry {
        char32_t c;
        Arms arms;
    };
    static constexpr Entry kTable[] = {
        {U'\u2500', {1, 1, 0, 0}}, {U'\u2502', {0, 0, 1, 1}}, {U'\u250C', {0, 1, 0, 1}},
        {U'\u2510', {1, 0, 0, 1}}, {U'\u2514', {0, 1, 1, 0}}, {U'\u2518', {1, 0, 1, 0}},
        {U'\u251C', {0, 1, 1, 1}}, {U'\u2524', {1, 0, 1, 1}}, {U'\u252C', {1, 1, 0, 1}},
        {U'\u2534', {1, 1, 1, 0}}, {U'\u253C', {1, 1, 1, 1}}, {U'\u2550', {2, 2, 0, 0}},
        {U'\u2551', {0, 0, 2, 2}}, {U'\u2552', {0, 2, 0, 1}}, {U'\u2553', {0, 1, 0, 2}},
        {U'\u2554', {0, 2, 0, 2}}, {U'\u2555', {2, 0, 0, 1}}, {U'\u2556', {1, 0, 0, 2}},
        {U'\u2557', {2, 0, 0, 2}}, {U'\u2558', {0, 2, 1, 0}}, {U'\u2559', {0, 1, 2, 0}},
        {U'\u255A', {0, 2, 2, 0}}, {U'\u255B', {2, 0, 1, 0}}, {U'\u255C', {1, 0, 2, 0}},
        {U'\u255D', {2, 0, 2, 0}}, {U'\u255E', {0, 2, 1, 1}}, {U'\u255F', {0, 1, 2, 2}},
        {U'\u2560', {0, 2, 2, 2}}, {U'\u2561', {2, 0, 1, 1}}, {U'\u2562', {1, 0, 2, 2}},
        {U'\u2563', {2, 0, 2, 2}}, {U'\u2564', {2, 2, 0, 1}}, {U'\u2565', {1, 1, 0, 2}},
        {U'\u2566', {2, 2, 0, 2}}, {U'\u2567', {2, 2, 1, 0}}, {U'\u2568', {1, 1, 2, 0}},
        {U'\u2569', {2, 2, 2, 0}}, {U'\u256A', {2, 2, 1, 1}}, {U'\u256B', {1, 1, 2, 2}},
        {U'\u256C', {2, 2, 2, 2}},
    };
    for (const Entry& entry : kTable)
        if (entry.c == c) {
            arms = entry.arms;
            return true;
        }
    return false;
}

// One arm drawn from the centre towards an edge. along: +1 towards right/down, -1 towards
// left/up. side arms: the arms across this one (for a horizontal arm: up, down); opposite:
// the arm on the other side of the centre.
class ArmPainter {
public:
    ArmPainter(QPainter& painter, const QRect& cell, const QColor& colour)
        : painter_(painter), cell_(cell), colour_(colour),
          thickness_(std::max(1, cell.height() / 16)), gap_(std::max(1, cell.width() / 5)),
          cx_(cell.left() + cell.width() / 2), cy_(cell.top() + cell.height() / 2) {}

    void Horizontal(int weight, int along, int sideBefore, int sideAfter, int opposite) {
        const int edge = along > 0 ? cell_.right() + 1 : cell_.left();
        if (weight == 1) {
            HLine(Start(cx_, along, sideBefore, sideAfter, opposite), edge, cy_);
            return;
        }
        HLine(DoubleStart(cx_, along, sideBefore, sideAfter, opposite), edge, cy_ - gap_);
        HLine(DoubleStart(cx_, along, sideAfter, sideBefore, opposite), edge, cy_ + gap_);
    }

    void Vertical(int weight, int along, int sideBefore, int sideAfter, int opposite) {
        const int edge = along > 0 ? cell_.bottom() + 1 : cell_.top();
        if (weight == 1) {
            VLine(Start(cy_, along, sideBefore, sideAfter, opposite), edge, cx_);
            return;
        }
        VLine(DoubleStart(cy_, along, sideBefore, sideAfter, opposite), edge, cx_ - gap_);
        VLine(DoubleStart(cy_, along, sideAfter, sideBefore, opposite), edge, cx_ + gap_);
    }

private:
    // A single arm that goes on through the centre stays whole; otherwise it meets a double
    // line across it at its near line, or reaches over to the far line where that double line
    // turns a corner here.
    int Start(int centre, int along, int sideBefore, int sideAfter, int opposite) const {
        const bool crossDouble = sideBefore == 2 || sideAfter == 2;
        if (!crossDouble || opposite != 0)
            return centre;
        const bool through = sideBefore != 0 && sideAfter != 0;
        return through ? centre + along * gap_ : centre - along * gap_;
    }

    // A line of a double arm on the side of `side` stops at the arm across it there; with
    // nothing there it turns the corner (reaching the far line of a double arm across) or
    // meets the opposite arm at the centre.
    int DoubleStart(int centre, int along, int side, int otherSide, int opposite) const {
        if (side != 0)
            return centre + along * (side == 2 ? gap_ : 0);
        if (otherSide == 2 && opposite == 0)
            return centre - along * gap_;
        return centre;
    }

    void HLine(int from, int to, int y) {
        painter_.fillRect(
            QRect(std::min(from, to), y - thickness_ / 2, std::abs(to - from), thickness_),
            colour_);
    }
    void VLine(int from, int to, int x) {
        painter_.fillRect(
            QRect(x - thickness_ / 2, std::min(from, to), thickness_, std::abs(to - from)),
            colour_);
    }

    QPainter& painter_;
    QRect cell_;
    QColor colour_;
    int thickness_;
    int gap_;
    int cx_;
    int cy_;
};

QColor Blend(const QColor& fg, const QColor& bg, int percent) {
    return QColor((fg.red() * percent + bg.red() * (100 - percent)) / 100,
                  (fg.green() * percent + bg.green() * (100 - percent)) / 100,
                  (fg.blue() * percent + bg.blue() * (100 - percent)) / 100);
}

bool DrawBlock(QPainter& painter, const QRect& cell, char32_t c, const QColor& fg,
               const QColor& bg) {
    const int halfHeight = cell.height() / 2;
    const int halfWidth = cell.width() / 2;
    switch (c) {
    case U'\u2580':
        painter.fillRect(QRect(cell.left(), cell.top(), cell.width(), halfHeight), fg);
        return true;
    case U'\u2584':
        painter.fillRect(
            QRect(cell.left(), cell.top() + halfHeight, cell.width(), cell.height() - halfHeight),
            fg);
        return true;
    case U'\u2588':
        painter.fillRect(cell, fg);
        return true;
    case U'\u258C':
        painter.fillRect(QRect(cell.left(), cell.top(), halfWidth, cell.height()), fg);
        return true;
    case U'\u2590':
        painter.fillRect(
            QRect(cell.left() + halfWidth, cell.top(), cell.width() - halfWidth, cell.height()),
            fg);
        return true;
    case U'\u2591':
        painter.fillRect(cell, Blend(fg, bg, 25));
        return true;
    case U'\u2592':
        painter.fillRect(cell, Blend(fg, bg, 50));
        return true;
    case U'\u2593':
        painter.fillRect(cell, Blend(fg, bg, 75));
        return true;
    default:
        return false;
    }
}

} // namespace

bool DrawBoxCharacter(QPainter& painter, const QRect& cell, char32_t c, const QColor& fg,
                      const QColor& bg) {
    if (DrawBlock(painter, cell, c, fg, bg))
        return true;
    Arms arms{};
    if (!ArmsOf(c, arms))
        return false;
    ArmPainter arm(painter, cell, fg);
    if (arms.left)
        arm.Horizontal(arms.left, -1, arms.up, arms.down, arms.right);
    if (arms.right)
        arm.Horizontal(arms.right, +1, arms.up, arms.down, arms.left);
    if (arms.up)
        arm.Vertical(arms.up, -1, arms.left, arms.right, arms.down);
    if (arms.down)
        arm.Vertical(arms.down, +1, arms.left, arms.right, arms.up);
    return true;
}

} // namespace comms
