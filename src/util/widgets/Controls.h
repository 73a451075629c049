// Creating a form's controls: each gets its member name as object name, so tests and the
// program find it by that name, and forms placed in absolute pixels get position and size.
#pragma once

#include <QString>

namespace util {

template <class Widget> Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

template <class Widget>
Widget* Placed(Widget* widget, const char* name, int left, int top, int width, int height) {
    Named(widget, name)->setGeometry(left, top, width, height);
    return widget;
}

} // namespace util
