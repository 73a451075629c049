// TSplitControl turns a plain panel into a working splitter bar. While the user drags the bar, a
// line as thick as the bar follows the mouse (an overlay on the window); at the release the target
// control gets the new width (upright bar) or height (bar wider than high). The window's own
// resize logic then moves the bar and the other controls.
#pragma once

#include <QPoint>
#include <QPointer>

class QWidget;

namespace browser {

class TSplitControl {
public:
    // form: the window whose surface carries the drag line.
    explicit TSplitControl(QWidget* form);
    ~TSplitControl();
    TSplitControl(const TSplitControl&) = delete;
    TSplitControl& operator=(const TSplitControl&) = delete;

    bool Splitting() const { return Splitter != nullptr; }

    // Starts a drag of splitter that will resize target; call it from the bar's mouse press of
    // the left button. The bar receives all mouse input until EndSplit.
    void BeginSplit(QWidget* splitter, QWidget* target);
    // Follows the mouse; x, y in the bar's client coordinates. Only while Splitting().
    void MoveSplit(int x, int y);
    // Removes the line and gives the target its new size; call it from the bar's mouse release
    // while Splitting(), then lay out the window.
    void EndSplit();

    // point, in from's client coordinates, in to's client coordinates.
    static QPoint MapPoint(const QWidget* to, const QWidget* from, QPoint point);

private:
    void DrawSplitLine();

    QWidget* Form;
    QWidget* Splitter = nullptr;
    QWidget* Target = nullptr;
    bool Horizontal = false;
    QPoint Position;
    // The drag line, a child of Form shown only while dragging; Form frees it if it goes first.
    QPointer<QWidget> SplitLine;
};

} // namespace browser
