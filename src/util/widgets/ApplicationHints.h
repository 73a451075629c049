// The application's tooltip display, one for the whole process: a switch that turns every
// tooltip on or off, and the show-hint event through which a handler may change a tooltip's text
// (or suppress it) just before it shows. Components that take the event over remember the
// handler they found and put it back when they go.
#pragma once

#include <QPoint>
#include <QString>
#include <functional>

class QWidget;

namespace util {

struct THintInfo {
    // The control whose tooltip is about to show, and the cursor position on the screen.
    QWidget* HintControl = nullptr;
    QPoint CursorPos;
};

using TShowHintEvent = std::function<void(QString& hintStr, bool& canShow, THintInfo& hintInfo)>;

bool ApplicationShowHint();
// Off hides a tooltip that is showing and keeps all others from showing.
void SetApplicationShowHint(bool on);

const TShowHintEvent& ApplicationOnShowHint();
void SetApplicationOnShowHint(TShowHintEvent handler);

} // namespace util
