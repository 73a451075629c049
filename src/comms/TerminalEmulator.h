// TTerminalEmulator: the emulation behind a terminal display: the screen (ANSI-BBS over libvterm,
// code page 437) and the keyboard mapping from keys to the bytes a mailbox expects.
#pragma once

#include "comms/TerminalScreen.h"

#include <QByteArray>
#include <QObject>
#include <QString>

namespace comms {

class TTerminalEmulator : public QObject {
    Q_OBJECT

public:
    static constexpr std::size_t kScrollbackLines = 2000;

    explicit TTerminalEmulator(QObject* parent = nullptr);

    TerminalScreen& Screen() { return screen_; }
    const TerminalScreen& Screen() const { return screen_; }

    // Line bytes in; what the emulator answers (device reports) is returned for the line.
    QByteArray Process(const QByteArray& bytes);

    // The bytes for a key: arrows and the editing keys as ANSI-BBS sequences, F1–F12, Enter as
    // CR, Backspace as BS, Ctrl+letter as its control character, and typed text in code page
    // 437 (characters it lacks are left out). Empty for keys that send nothing.
    static QByteArray KeyBytes(int key, Qt::KeyboardModifiers modifiers, const QString& text);

signals:
    // The screen changed.
    void Changed();

private:
    TerminalScreen screen_;
};

} // namespace comms
