// The terminal's screen: bytes from a mailbox (code page 437 and ANSI-BBS escape sequences) in,
// a grid of character cells with the 16 ANSI colours out. libvterm does the emulation; before
// it the bytes are transcoded from code page 437 to UTF-8, and a full-screen erase also homes
// the cursor as ANSI.SYS did. Lines that scroll off the top are kept (up to a limit).
//
// Any input is safe: the escape-sequence state kept between pieces is bounded, libvterm is only
// given well-formed UTF-8, and control sequences reach it only whole and within its limits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

struct VTerm;
struct VTermScreen;

namespace comms {

struct TermCell {
    char32_t ch = U' ';
    std::uint8_t fg = 7; // palette index 0..15; bold shows as the bright colour
    std::uint8_t bg = 0;
    bool blink = false;
    bool underline = false;

    bool operator==(const TermCell&) const = default;
};

using TermLine = std::vector<TermCell>;

// The code page 437 byte of a character, or -1 when the code page lacks it.
int Cp437Byte(char32_t c);

class TerminalScreen {
public:
    static constexpr int kMaxRows = 100;
    static constexpr int kMaxColumns = 250;

    TerminalScreen(int rows = 24, int columns = 80, std::size_t scrollbackLimit = 2000);
    ~TerminalScreen();
    TerminalScreen(const TerminalScreen&) = delete;
    TerminalScreen& operator=(const TerminalScreen&) = delete;

    void Feed(std::string_view bytes);
    // What the emulator answers on the line (cursor position and device reports).
    std::string TakeReplies();

    int Rows() const { return rows_; }
    int Columns() const { return columns_; }
    // Sizes outside 1 … kMax are brought inside.
    void Resize(int rows, int columns);
    void Reset();

    TermCell Cell(int row, int column) const;
    int CursorRow() const { return cursorRow_; }
    int CursorColumn() const { return cursorColumn_; }
    bool CursorVisible() const { return cursorVisible_; }

    // Scroll-back: line 0 is the oldest kept.
    const std::deque<TermLine>& Scrollback() const { return scrollback_; }
    // All lines that ever scrolled off, so a position in the scroll-back can be followed.
    std::uint64_t LinesScrolledOff() const { return scrolledOff_; }

    // Rows changed since the last call, as [first, last]; false when none.
    bool TakeDamage(int& first, int& last);

    // A row as UTF-8, trailing blanks kept.
    std::string RowText(int row) const;

    // The transcoding step alone (code page 437 to UTF-8 and the ANSI.SYS erase), exposed for
    // tests. State carries over between calls.
    std::string Transcode(std::string_view bytes);

private:
    friend struct TerminalScreenCallbacks;

    void Damage(int first, int last);
    TermCell Convert(const void* vtermCell) const;
    void Create();

    VTerm* vterm_ = nullptr;
    VTermScreen* screen_ = nullptr;
    int rows_;
    int columns_;
    std::size_t scrollbackLimit_;
    std::deque<TermLine> scrollback_;
    std::uint64_t scrolledOff_ = 0;
    int cursorRow_ = 0;
    int cursorColumn_ = 0;
    bool cursorVisible_ = true;
    int damageFirst_ = -1;
    int damageLast_ = -1;
    std::string replies_;
    // Transcoder state: inside an escape sequence (or dropping an overlong one), and the
    // sequence held back until it is complete.
    enum class Escape { None, Esc, Csi, Dropping } escape_ = Escape::None;
    std::string pending_;
};

} // namespace comms
