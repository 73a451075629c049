// Printing and copying the entry shown in the main window: an info text through its rich-text
// view, a short description as the memo's lines, a component as a plain text made of its page and
// its long description. ConnectEntryOutput wires the print and copy buttons (and with them the
// print menu item) of a main window.
#pragma once

#include <QString>
#include <QStringList>

namespace browser {

class TPandexCDMain;

// The lines of a plain text as a memo holds them: none for an empty text, and a line break at
// the very end opens no further line.
QStringList TextLines(const QString& text);

// The plain-text version of the component shown last: heading with name and version, an empty
// line, the summary as displayed, "Ausführliche Beschreibung:" and the long description. Fills
// the wide detail window (without showing it) on the way. No lines when no component was shown.
QStringList ComponentText(TPandexCDMain& window);

void SBPrintTextClick(TPandexCDMain& window);
void SBCopyClick(TPandexCDMain& window);

void ConnectEntryOutput(TPandexCDMain& window);

} // namespace browser
