#include "comms/TerminalEmulator.h"

namespace comms {

namespace {

struct KeySequence {
    int key;
    const char* bytes;
};

constexpr KeySequence kKeys[] = {
    {Qt::Key_Up, "\x1b[A"},       {Qt::Key_Down, "\x1b[B"},  {Qt::Key_Right, "\x1b[C"},
    {Qt::Key_Left, "\x1b[D"},     {Qt::Key_Home, "\x1b[H"},  {Qt::Key_End, "\x1b[K"},
    {Qt::Key_Insert, "\x1b[@"},   {Qt::Key_Delete, "\x7f"},  {Qt::Key_PageUp, "\x1b[V"},
    {Qt::Key_PageDown, "\x1b[U"}, {Qt::Key_F1, "\x1bOP"},    {Qt::Key_F2, "\x1bOQ"},
    {Qt::Key_F3, "\x1bOR"},       {Qt::Key_F4, "\x1bOS"},    {Qt::Key_F5, "\x1b[15~"},
    {Qt::Key_F6, "\x1b[17~"},     {Qt::Key_F7, "\x1b[18~"},  {Qt::Key_F8, "\x1b[19~"},
    {Qt::Key_F9, "\x1b[20~"},     {Qt::Key_F10, "\x1b[21~"}, {Qt::Key_F11, "\x1b[23~"},
    {Qt::Key_F12, "\x1b[24~"},    {Qt::Key_Return, "\r"},    {Qt::Key_Enter, "\r"},
    {Qt::Key_Backspace, "\b"},    {Qt::Key_Tab, "\t"},       {Qt::Key_Escape, "\x1b"},
};

} // namespace

TTerminalEmulator::TTerminalEmulator(QObject* parent)
    : QObject(parent), screen_(24, 80, kScrollbackLines) {}

QByteArray TTerminalEmulator::Process(const QByteArray& bytes) {
    screen_.Feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    emit Changed();
    const std::string replies = screen_.TakeReplies();
    return QByteArray(replies.data(), static_cast<qsizetype>(replies.size()));
}

QByteArray TTerminalEmulator::KeyBytes(int key, Qt::KeyboardModifiers modifiers,
                                       const QString& text) {
    for (const KeySequence& sequence : kKeys)
        if (sequence.key == key)
            return sequence.bytes;
    if ((modifiers & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return QByteArray(1, static_cast<char>(key - Qt::Key_A + 1));
    QByteArray bytes;
    for (const char32_t c : text.toUcs4()) {
        const int b = Cp437Byte(c);
        if (b > 0)
            bytes += static_cast<char>(b);
    }
    return bytes;
}

} // namespace comms
