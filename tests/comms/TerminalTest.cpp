// The terminal display: the mailbox's welcome screen as characters, colours and pixels, keys to
// bytes, scroll-back, marks, and the transcoding before the emulator.
#include "comms/Terminal.h"

#include "comms/ComLine.h"
#include "comms/ComPort.h"
#include "comms/Peers.h"
#include "comms/TerminalEmulator.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QImage>
#include <QKeyEvent>
#include <gtest/gtest.h>

using namespace comms;
using comms_test::ExpectedWelcomeScreen;
using comms_test::Mailbox;
using comms_test::PumpUntil;

namespace {

std::string Utf8(char32_t c) {
    return QString::fromUcs4(&c, 1).toStdString();
}

// The terminal on a raw network line to the mailbox, showing its welcome screen.
class MailboxOnScreen {
public:
    MailboxOnScreen() : mailbox({}) {
        terminal.SetComPort(&port);
        terminal.SetActive(true);
        auto* line = new TNetworkLine(false);
        QObject::connect(line, &TNetworkLine::Connected, [this, line] { port.AttachLine(line); });
        line->Connect("127.0.0.1", static_cast<quint16>(mailbox.Port()));
    }
    bool WaitForScreen() {
        const TerminalScreen& screen = terminal.Emulator()->Screen();
        return PumpUntil([&] { return screen.RowText(23).starts_with("Ihre Wahl: "); });
    }

    Mailbox mailbox;
    TComPort port;
    TTerminal terminal;
};

} // namespace

TEST(Terminal, WelcomeScreenMatchesTheExpectedGridOfCharactersAndColours) {
    MailboxOnScreen session;
    ASSERT_TRUE(session.mailbox.Ready());
    ASSERT_TRUE(session.WaitForScreen());
    const TerminalScreen& screen = session.terminal.Emulator()->Screen();
    const std::vector<std::string> expected = ExpectedWelcomeScreen();
    ASSERT_EQ(expected.size(), 72u);
    for (int row = 0; row < 24; ++row) {
        SCOPED_TRACE("row " + std::to_string(row + 1));
        EXPECT_EQ(screen.RowText(row), expected[static_cast<std::size_t>(row)]);
        std::string fg;
        std::string bg;
        for (int column = 0; column < 80; ++column) {
            const TermCell cell = screen.Cell(row, column);
            fg += "0123456789abcdef"[cell.fg];
            bg += "0123456789abcdef"[cell.bg];
        }
        EXPECT_EQ(fg, expected[static_cast<std::size_t>(24 + row)]);
        EXPECT_EQ(bg, expected[static_cast<std::size_t>(48 + row)]);
    }
    EXPECT_TRUE(screen.Cell(13, 2).blink) << "\"Neu!\" blinks";
    EXPECT_EQ(screen.CursorRow(), 23);
    EXPECT_EQ(screen.CursorColumn(), 11);
}

TEST(Terminal, PaintsColoursAndFramesThatJoinWithoutGaps) {
    MailboxOnScreen session;
    ASSERT_TRUE(session.WaitForScreen());
    TTerminal& terminal = session.terminal;
    terminal.SetBlinkTime(0);
    const QSize cell = terminal.CellSize();
    const QImage image = terminal.grab().toImage();
    auto pixel = [&](int row, int column, int dx, int dy) {
        return QColor(image.pixel(TTerminal::kBorder + column * cell.width() + dx,
                                  TTerminal::kBorder + row * cell.height() + dy));
    };
    const QColor brightBlue(0x55, 0x55, 0xFF);
    // The double line of the top border: at two heights within the row, every pixel between
    // the corners' inner edges is the frame's colour.
    const int gap = std::max(1, cell.width() / 5);
    int joinedRows = 0;
    for (int dy = 0; dy < cell.height(); ++dy) {
        bool whole = true;
        for (int x = cell.width() / 2 + gap;
             x < 79 * cell.width() + cell.width() / 2 - gap && whole; ++x)
            whole =
                QColor(image.pixel(TTerminal::kBorder + x, TTerminal::kBorder + dy)) == brightBlue;
        joinedRows += whole ? 1 : 0;
    }
    EXPECT_EQ(joinedRows, 2 * std::max(1, cell.height() / 16)) << "two unbroken lines";
    // The left border's double line runs down rows 1 to 3 without a gap.
    int joinedColumns = 0;
    for (int dx = 0; dx < cell.width(); ++dx) {
        bool whole = true;
        for (int y = cell.height() / 2 + 1; y < 2 * cell.height() + cell.height() / 2 && whole; ++y)
            whole =
                QColor(image.pixel(TTerminal::kBorder + dx, TTerminal::kBorder + y)) == brightBlue;
        joinedColumns += whole ? 1 : 0;
    }
    EXPECT_GE(joinedColumns, 2);
    EXPECT_EQ(pixel(1, 19, 1, 1), QColor(0, 0, 0xAA)) << "blue background of the title";
    EXPECT_EQ(pixel(10, 5, cell.width() / 2, cell.height() / 2), QColor(0, 0xAA, 0xAA))
        << "a full block in cyan";
    EXPECT_EQ(pixel(15, 3, 1, 1), QColor(0xAA, 0xAA, 0xAA)) << "grey background of [Q]";
}

TEST(Terminal, KeysBecomeTheBytesAMailboxExpects) {
    using E = TTerminalEmulator;
    EXPECT_EQ(E::KeyBytes(Qt::Key_Up, {}, {}), "\x1b[A");
    EXPECT_EQ(E::KeyBytes(Qt::Key_A, {}, QString::fromUtf8("ä")), "\x84");
    EXPECT_EQ(E::KeyBytes(Qt::Key_unknown, {}, QString::fromUtf8("€")), "") << "not in CP437";
    EXPECT_EQ(E::KeyBytes(Qt::Key_Shift, Qt::ShiftModifier, {}), "");

    // Typed into the widget, the bytes go out on its port; inactive, nothing does.
    comms_test::Pty line;
    TComPort port;
    port.OpenDevice(QString::fromStdString(line.Slave()));
    TTerminal terminal;
    terminal.SetComPort(&port);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, {}, "\r");
    QKeyEvent umlaut(QEvent::KeyPress, Qt::Key_O, {}, QString::fromUtf8("ö"));
    QApplication::sendEvent(&terminal, &umlaut);
    terminal.SetActive(true);
    QApplication::sendEvent(&terminal, &umlaut);
    QApplication::sendEvent(&terminal, &enter);
    ASSERT_TRUE(PumpUntil([&] { return line.Received().size() >= 2; }, 5000));
    EXPECT_EQ(line.Received(), "\x94\r");
}

TEST(Terminal, KeepsAThousandLinesToScrollBackAndMarksSurviveNewData) {
    TTerminal terminal;
    terminal.SetActive(true);
    TTerminalEmulator& emulator = *terminal.Emulator();
    std::string text;
    for (int i = 1; i <= 1500; ++i)
        text += "Zeile " + std::to_string(i) + "\r\n";
    emulator.Process(QByteArray::fromStdString(text));
    EXPECT_GE(emulator.Screen().Scrollback().size(), 1000u);
    terminal.ScrollBack(1000);
    terminal.Select(0, 0, 0, 20);
    const QString oldest = terminal.SelectedText();
    EXPECT_EQ(oldest, QString("Zeile %1").arg(1500 - 23 - 1000 + 1));
    emulator.Process("neu\r\n");
    EXPECT_EQ(terminal.SelectedText(), oldest) << "persistent marks follow their text";
    terminal.CopyToClipboard();
    EXPECT_EQ(QApplication::clipboard()->text(), oldest);
    terminal.ScrollBack(-5000);
    EXPECT_EQ(terminal.ScrollOffset(), 0);
}

TEST(Terminal, TranscodesCodePage437AndHomesOnAFullErase) {
    TerminalScreen screen;
    EXPECT_EQ(screen.Transcode("\x84\x94\x81\xe1\xc9\xcd\xbb"), "äöüß╔═╗") << "CP437";
    EXPECT_EQ(screen.Transcode("\x1b[2"), "") << "held back until whole";
    EXPECT_EQ(screen.Transcode("J"), "\x1b[2J\x1b[H") << "split across pieces";
    EXPECT_EQ(screen.Transcode("\x1b[" + std::string(40, ':') + "Hx"), "x") << "overlong: dropped";
    EXPECT_EQ(screen.Transcode("\x1b[1;2;3;4;5;6;7;8;9;10;11;12;13;14;15;16;17my"), "y")
        << "more parameters than libvterm keeps";
    EXPECT_EQ(screen.Transcode("\x1b[1\x84"), "ä") << "an 8-bit byte breaks it off";
    EXPECT_EQ(screen.Transcode("\x1b[0J"), "\x1b[0J");
    screen.Feed("abc\x1b[5;5H\x1b[2Jx");
    EXPECT_EQ(screen.Cell(0, 0).ch, U'x');
    EXPECT_EQ(Utf8(screen.Cell(4, 4).ch), " ");
    screen.Feed("\x1b[6n");
    EXPECT_EQ(screen.TakeReplies(), "\x1b[1;2R") << "cursor position report";
}

TEST(Terminal, FontTerminalIsThePlatformsFixedFontAndSizesFollowTheCell) {
    TTerminal terminal;
    terminal.SetTerminalFont(QFont("Terminal", 12));
    EXPECT_EQ(terminal.TerminalFont().family(), "Terminal");
    const QSize cell = terminal.CellSize();
    terminal.SetDisplayColumns(500);
    terminal.SetDisplayRows(0);
    EXPECT_EQ(terminal.DisplayColumns(), TTerminal::kMaxColumns);
    EXPECT_EQ(terminal.DisplayRows(), 1);
    terminal.SetTerminalFont(QFont("Terminal", 18));
    EXPECT_GT(terminal.CellSize().height(), cell.height());
}

TEST(Terminal, InactiveTerminalShowsNothingOfTheLine) {
    MailboxOnScreen session;
    session.terminal.SetActive(false);
    ASSERT_TRUE(PumpUntil([&] { return session.port.Open(); }));
    comms_test::Pump(500);
    EXPECT_EQ(session.terminal.Emulator()->Screen().RowText(0), std::string(80, ' '));
}
