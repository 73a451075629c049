// The pictures of the browser window, drawn in code: the three images of the overview tree and
// the glyphs of the button bar and the navigation buttons.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace browser {

// Indices into the overview's image list.
enum TreeImageIndex { tiDocument = 0, tiFolder = 1, tiNewDocument = 2, tiCount = 3 };

// 16 x 16 picture of one tree image.
QPixmap TreeImage(int index);

enum class Glyph {
    First,
    LevelUp,
    Down,
    Copy,
    Print,
    Install,
    Search,
    Order,
    Terminal,
    Options,
    Info,
    Quit,
    NavUp,
    NavNext,
    NavBack,
};

// The glyph of one button; Qt derives the greyed picture of a disabled button from it.
QIcon GlyphIcon(Glyph glyph);

} // namespace browser
