// The program's own pictures, drawn in code: a CD-ROM disc in front of a display cabinet with
// software packages on its shelves. Used by the splash window and the about box.
#pragma once

#include <QPixmap>
#include <QSize>

namespace browser {

// The picture at the given size (drawn for that size, not scaled from a bitmap).
QPixmap VitrinePicture(QSize size);

} // namespace browser
