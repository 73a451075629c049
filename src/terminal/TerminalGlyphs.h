// The pictures of the terminal window's tool bar, drawn at run time.
#pragma once

#include <QIcon>

namespace terminal {

enum class TTerminalGlyph { Dial, HangUp, ModemInit, Font, Settings, Tapi, Quit };

QIcon TerminalGlyph(TTerminalGlyph glyph);

} // namespace terminal
