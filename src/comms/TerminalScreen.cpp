#include "comms/TerminalScreen.h"

#include "platform/CodePage.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <utility>
#include <vterm.h>

namespace comms {

namespace {

// A control sequence longer than this, or with more parameters than libvterm keeps, is dropped
// whole: libvterm 0.1.4 does not bound its parameter list.
constexpr std::size_t kMaxCsi = 32;
constexpr std::size_t kMaxCsiParameters = 16;

bool AcceptableCsi(const std::string& sequence) {
    const auto separators = std::count_if(sequence.begin(), sequence.end(),
                                          [](char c) { return c == ';' || c == ':'; });
    return static_cast<std::size_t>(separators) < kMaxCsiParameters;
}

// The bytes inside a control sequence ("ESC [" parameters and intermediates), and its final one.
bool IsCsiParameter(unsigned char b) {
    return b >= 0x20 && b <= 0x3F;
}

bool IsCsiFinal(unsigned char b) {
    return b >= 0x40 && b <= 0x7E;
}

// The UTF-8 text of every code page 437 byte.
const std::array<std::string, 256>& Cp437Table() {
    static const std::array<std::string, 256> table = [] {
        std::array<std::string, 256> t;
        for (int b = 0; b < 256; ++b)
            t[static_cast<std::size_t>(b)] =
                platform::Oem437ToUtf8(std::string(1, static_cast<char>(b)));
        return t;
    }();
    return table;
}

// The 16 colours as libvterm holds them: the classic palette.
constexpr std::uint8_t kPalette[16][3] = {
    {0, 0, 0},     {170, 0, 0},     {0, 170, 0},    {170, 85, 0},   {0, 0, 170},   {170, 0, 170},
    {0, 170, 170}, {170, 170, 170}, {85, 85, 85},   {255, 85, 85},  {85, 255, 85}, {255, 255, 85},
    {85, 85, 255}, {255, 85, 255},  {85, 255, 255}, {255, 255, 255}};

std::uint8_t NearestPaletteIndex(int r, int g, int b) {
    int best = 0;
    int bestDistance = 1 << 30;
    for (int i = 0; i < 16; ++i) {
        const int dr = r - kPalette[i][0];
        const int dg = g - kPalette[i][1];
        const int db = b - kPalette[i][2];
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return static_cast<std::uint8_t>(best);
}

char32_t DecodeUtf8(const std::string& text) {
    const auto b = [&](std::size_t i) {
        return static_cast<char32_t>(static_cast<unsigned char>(text[i]));
    };
    if (text.size() == 1)
        return b(0);
    if (text.size() == 2)
        return (b(0) & 0x1F) << 6 | (b(1) & 0x3F);
    return (b(0) & 0x0F) << 12 | (b(1) & 0x3F) << 6 | (b(2) & 0x3F);
}

} // namespace

int Cp437Byte(char32_t c) {
    static const std::unordered_map<char32_t, int> bytes = [] {
        std::unordered_map<char32_t, int> map;
        const auto& table = Cp437Table();
        for (int b = 0; b < 256; ++b)
            map.emplace(DecodeUtf8(table[static_cast<std::size_t>(b)]), b);
        return map;
    }();
    const auto it = bytes.find(c);
    return it == bytes.end() ? -1 : it->second;
}

struct TerminalScreenCallbacks {
    static int Damage(VTermRect rect, void* user) {
        static_cast<TerminalScreen*>(user)->Damage(rect.start_row, rect.end_row - 1);
        return 1;
    }
    static int MoveRect(VTermRect dest, VTermRect src, void* user) {
        auto* screen = static_cast<TerminalScreen*>(user);
        screen->Damage(std::min(dest.start_row, src.start_row),
                       std::max(dest.end_row, src.end_row) - 1);
        return 0;
    }
    static int MoveCursor(VTermPos pos, VTermPos, int visible, void* user) {
        auto* screen = static_cast<TerminalScreen*>(user);
        screen->Damage(screen->cursorRow_, screen->cursorRow_);
        screen->cursorRow_ = pos.row;
        screen->cursorColumn_ = pos.col;
        screen->cursorVisible_ = visible != 0;
        screen->Damage(pos.row, pos.row);
        return 1;
    }
    static int TermProp(VTermProp prop, VTermValue* value, void* user) {
        if (prop == VTERM_PROP_CURSORVISIBLE)
            static_cast<TerminalScreen*>(user)->cursorVisible_ = value->boolean != 0;
        return 1;
    }
    static int PushLine(int columns, const VTermScreenCell* cells, void* user) {
        auto* screen = static_cast<TerminalScreen*>(user);
        TermLine line;
        line.reserve(static_cast<std::size_t>(columns));
        for (int c = 0; c < columns; ++c)
            line.push_back(screen->Convert(&cells[c]));
        screen->scrollback_.push_back(std::move(line));
        if (screen->scrollback_.size() > screen->scrollbackLimit_)
            screen->scrollback_.pop_front();
        ++screen->scrolledOff_;
        return 1;
    }
    static void Output(const char* bytes, std::size_t length, void* user) {
        static_cast<TerminalScreen*>(user)->replies_.append(bytes, length);
    }
};

namespace {

const VTermScreenCallbacks kScreenCallbacks = {&TerminalScreenCallbacks::Damage,
                                               &TerminalScreenCallbacks::MoveRect,
                                               &TerminalScreenCallbacks::MoveCursor,
                                               &TerminalScreenCallbacks::TermProp,
                                               nullptr,
                                               nullptr,
                                               &TerminalScreenCallbacks::PushLine,
                                               nullptr};

} // namespace

TerminalScreen::TerminalScreen(int rows, int columns, std::size_t scrollbackLimit)
    : rows_(std::clamp(rows, 1, kMaxRows)), columns_(std::clamp(columns, 1, kMaxColumns)),
      scrollbackLimit_(scrollbackLimit) {
    Create();
}

TerminalScreen::~TerminalScreen() {
    vterm_free(vterm_);
}

void TerminalScreen::Create() {
    vterm_ = vterm_new(rows_, columns_);
    vterm_set_utf8(vterm_, 1);
    vterm_output_set_callback(vterm_, &TerminalScreenCallbacks::Output, this);
    VTermState* state = vterm_obtain_state(vterm_);
    vterm_state_set_bold_highbright(state, 1);
    for (int i = 0; i < 16; ++i) {
        VTermColor color;
        vterm_color_rgb(&color, kPalette[i][0], kPalette[i][1], kPalette[i][2]);
        vterm_state_set_palette_color(state, i, &color);
    }
    screen_ = vterm_obtain_screen(vterm_);
    vterm_screen_set_callbacks(screen_, &kScreenCallbacks, this);
    vterm_screen_set_damage_merge(screen_, VTERM_DAMAGE_ROW);
    vterm_screen_reset(screen_, 1);
    Damage(0, rows_ - 1);
}

void TerminalScreen::Reset() {
    vterm_free(vterm_);
    scrollback_.clear();
    escape_ = Escape::None;
    pending_.clear();
    replies_.clear();
    cursorRow_ = cursorColumn_ = 0;
    cursorVisible_ = true;
    Create();
}

void TerminalScreen::Resize(int rows, int columns) {
    rows_ = std::clamp(rows, 1, kMaxRows);
    columns_ = std::clamp(columns, 1, kMaxColumns);
    vterm_set_size(vterm_, rows_, columns_);
    cursorRow_ = std::min(cursorRow_, rows_ - 1);
    cursorColumn_ = std::min(cursorColumn_, columns_ - 1);
    Damage(0, rows_ - 1);
}

std::string TerminalScreen::Transcode(std::string_view bytes) {
    const auto& table = Cp437Table();
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        switch (escape_) {
        case Escape::Esc:
            if (b == '[') {
                escape_ = Escape::Csi;
                pending_ += ch;
                continue;
            }
            escape_ = Escape::None;
            out += pending_;
            pending_.clear();
            break;
        case Escape::Csi:
            if (IsCsiFinal(b)) {
                pending_ += ch;
                if (AcceptableCsi(pending_))
                    out += pending_;
                // ANSI.SYS homes the cursor on a full-screen erase; libvterm, as a VT100, does not.
                if (pending_ == "\x1b[2J")
                    out += "\x1b[H";
                pending_.clear();
                escape_ = Escape::None;
                continue;
            }
            if (IsCsiParameter(b)) {
                if (pending_.size() < kMaxCsi) {
                    pending_ += ch;
                } else {
                    escape_ = Escape::Dropping;
                    pending_.clear();
                }
                continue;
            }
            // A control or 8-bit byte breaks the sequence off; the byte counts on its own.
            pending_.clear();
            escape_ = Escape::None;
            break;
        case Escape::Dropping:
            if (IsCsiParameter(b))
                continue;
            escape_ = Escape::None;
            if (IsCsiFinal(b))
                continue;
            break;
        case Escape::None:
            break;
        }
        if (b == 0x1B) {
            escape_ = Escape::Esc;
            pending_ = ch;
        } else {
            out += table[b];
        }
    }
    return out;
}

void TerminalScreen::Feed(std::string_view bytes) {
    const std::string text = Transcode(bytes);
    vterm_input_write(vterm_, text.data(), text.size());
    vterm_screen_flush_damage(screen_);
}

std::string TerminalScreen::TakeReplies() {
    return std::exchange(replies_, {});
}

TermCell TerminalScreen::Convert(const void* vtermCell) const {
    const auto* cell = static_cast<const VTermScreenCell*>(vtermCell);
    TermCell out;
    out.ch = cell->chars[0] == 0 ? U' ' : static_cast<char32_t>(cell->chars[0]);
    auto index = [&](VTermColor color, std::uint8_t defaultIndex) -> std::uint8_t {
        if ((color.type & VTERM_COLOR_DEFAULT_FG) && defaultIndex == 7)
            return 7;
        if ((color.type & VTERM_COLOR_DEFAULT_BG) && defaultIndex == 0)
            return 0;
        if (VTERM_COLOR_IS_INDEXED(&color) && color.indexed.idx < 16)
            return color.indexed.idx;
        vterm_screen_convert_color_to_rgb(screen_, &color);
        return NearestPaletteIndex(color.rgb.red, color.rgb.green, color.rgb.blue);
    };
    out.fg = index(cell->fg, 7);
    out.bg = index(cell->bg, 0);
    if (cell->attrs.bold && out.fg < 8)
        out.fg = static_cast<std::uint8_t>(out.fg + 8);
    if (cell->attrs.reverse)
        std::swap(out.fg, out.bg);
    out.blink = cell->attrs.blink;
    out.underline = cell->attrs.underline != 0;
    return out;
}

TermCell TerminalScreen::Cell(int row, int column) const {
    if (row < 0 || row >= rows_ || column < 0 || column >= columns_)
        return {};
    VTermScreenCell cell{};
    vterm_screen_get_cell(screen_, VTermPos{row, column}, &cell);
    return Convert(&cell);
}

void TerminalScreen::Damage(int first, int last) {
    first = std::clamp(first, 0, rows_ - 1);
    last = std::clamp(last, 0, rows_ - 1);
    if (damageFirst_ < 0) {
        damageFirst_ = first;
        damageLast_ = last;
    } else {
        damageFirst_ = std::min(damageFirst_, first);
        damageLast_ = std::max(damageLast_, last);
    }
}

bool TerminalScreen::TakeDamage(int& first, int& last) {
    if (damageFirst_ < 0)
        return false;
    first = damageFirst_;
    last = damageLast_;
    damageFirst_ = damageLast_ = -1;
    return true;
}

std::string TerminalScreen::RowText(int row) const {
    std::string text;
    for (int column = 0; column < columns_; ++column)
        platform::AppendUtf8(text, Cell(row, column).ch);
    return text;
}

} // namespace comms
