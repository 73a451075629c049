// Fuzz target for the terminal's input path: code page 437 transcoding, the ANSI-BBS fix-ups
// and libvterm, fed in pieces cut where the input's first byte says, on a screen whose size the
// second byte chooses. Checks: the cursor and every cell stay on the screen, colours stay in
// the palette, and the scroll-back keeps to its limit.
#include "comms/TerminalScreen.h"
#include "comms/fuzz/Require.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using comms_fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const std::size_t piece = data[0] + 1;
    const int rows = 1 + data[1] % 40;
    const int columns = 1 + (data[1] * 7) % 132;
    comms::TerminalScreen screen(rows, columns, 50);
    const std::string_view input(reinterpret_cast<const char*>(data + 2), size - 2);
    for (std::size_t at = 0; at < input.size(); at += piece) {
        screen.Feed(input.substr(at, piece));
        screen.TakeReplies();
    }
    Require(screen.CursorRow() >= 0 && screen.CursorRow() < rows);
    Require(screen.CursorColumn() >= 0 && screen.CursorColumn() <= columns);
    Require(screen.Scrollback().size() <= 50);
    for (int row = 0; row < rows; ++row) {
        Require(!screen.RowText(row).empty());
        for (int column = 0; column < columns; ++column) {
            const comms::TermCell cell = screen.Cell(row, column);
            Require(cell.fg < 16 && cell.bg < 16);
        }
    }
    int first = 0;
    int last = 0;
    if (screen.TakeDamage(first, last))
        Require(0 <= first && first <= last && last < rows);
    return 0;
}
