// The small pictures in front of a file list's lines, drawn at run time on a transparent ground.
#pragma once

#include <QPixmap>

namespace install {

enum class TFileGlyph { Directory, Floppy, Program, Document };

// The glyph in a square of size pixels (at least 8), drawn once per size.
QPixmap FileGlyph(TFileGlyph glyph, int size);

} // namespace install
