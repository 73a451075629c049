#include "comms/Terminal.h"

#include "comms/BoxDrawing.h"
#include "comms/ComPort.h"
#include "comms/TerminalEmulator.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

namespace comms {

namespace {

constexpr int kRepaintDelayMs = 16;

constexpr QRgb kPalette[16] = {0x000000, 0xAA0000, 0x00AA00, 0xAA5500, 0x0000AA, 0xAA00AA,
                               0x00AAAA, 0xAAAAAA, 0x555555, 0xFF5555, 0x55FF55, 0xFFFF55,
                               0x5555FF, 0xFF55FF, 0x55FFFF, 0xFFFFFF};

QString CellText(char32_t c) {
    return QString::fromUcs4(&c, 1);
}

} // namespace

TTerminal::TTerminal(QWidget* parent)
    : QWidget(parent), emulator_(new TTerminalEmulator(this)), ownEmulator_(emulator_) {
    setObjectName(QStringLiteral("Terminal"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(emulator_, &TTerminalEmulator::Changed, this, &TTerminal::ScreenChanged);
    repaintTimer_.setSingleShot(true);
    connect(&repaintTimer_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    connect(&blinkTimer_, &QTimer::timeout, this, [this] {
        blinkOn_ = !blinkOn_;
        update();
    });
    blinkTimer_.start(blinkTime_);
    SetTerminalFont(QFont(QStringLiteral("Terminal"), 9));
}

TTerminal::~TTerminal() = default;

void TTerminal::SetComPort(TComPort* port) {
    if (port_)
        port_->disconnect(this);
    port_ = port;
    if (port_)
        connect(port_, &TComPort::DataReceived, this, &TTerminal::DataReceived);
}

void TTerminal::SetEmulator(TTerminalEmulator* emulator) {
    emulator_->disconnect(this);
    emulator_ = emulator ? emulator : ownEmulator_;
    connect(emulator_, &TTerminalEmulator::Changed, this, &TTerminal::ScreenChanged);
    Relayout();
}

void TTerminal::SetActive(bool active) {
    active_ = active;
    update();
}

void TTerminal::SetTerminalFont(const QFont& font) {
    font_ = font;
    if (font.family().compare(QStringLiteral("Terminal"), Qt::CaseInsensitive) == 0) {
        drawFont_ = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        drawFont_.setPointSizeF(font.pointSizeF() > 0 ? font.pointSizeF() : 9);
        drawFont_.setBold(font.bold());
        drawFont_.setItalic(font.italic());
    } else {
        drawFont_ = font;
    }
    drawFont_.setStyleHint(QFont::TypeWriter);
    drawFont_.setFixedPitch(true);
    const QFontMetrics metrics(drawFont_);
    cell_ = QSize(std::max(1, metrics.horizontalAdvance(QLatin1Char('M'))),
                  std::max(1, metrics.height()));
    ascent_ = metrics.ascent();
    Relayout();
}

void TTerminal::SetDisplayColumns(int columns) {
    columns_ = std::clamp(columns, 1, kMaxColumns);
    Relayout();
}

void TTerminal::SetDisplayRows(int rows) {
    rows_ = std::clamp(rows, 1, kMaxRows);
    Relayout();
}

void TTerminal::SetBlinkTime(int ms) {
    blinkTime_ = std::max(0, ms);
    blinkOn_ = true;
    if (blinkTime_ > 0)
        blinkTimer_.start(blinkTime_);
    else
        blinkTimer_.stop();
}

void TTerminal::Relayout() {
    TerminalScreen& screen = emulator_->Screen();
    if (screen.Rows() != rows_ || screen.Columns() != columns_)
        screen.Resize(rows_, columns_);
    resize(sizeHint());
    updateGeometry();
    update();
}

QSize TTerminal::sizeHint() const {
    return {columns_ * cell_.width() + 2 * kBorder, rows_ * cell_.height() + 2 * kBorder};
}

QColor TTerminal::PaletteColour(int index) {
    return QColor(kPalette[std::clamp(index, 0, 15)]);
}

void TTerminal::DataReceived(const QByteArray& bytes) {
    if (!active_)
        return;
    if (!persistentMarks_)
        ClearSelection();
    const QByteArray replies = emulator_->Process(bytes);
    if (!replies.isEmpty() && port_)
        port_->Write(replies);
}

void TTerminal::ScreenChanged() {
    if (!repaintTimer_.isActive())
        repaintTimer_.start(kRepaintDelayMs);
}

void TTerminal::ScrollBack(int lines) {
    const int kept = static_cast<int>(emulator_->Screen().Scrollback().size());
    scrollOffset_ = std::clamp(scrollOffset_ + lines, 0, kept);
    update();
}

std::vector<TermCell> TTerminal::LineCells(std::int64_t line) const {
    const TerminalScreen& screen = emulator_->Screen();
    const auto scrolledOff = static_cast<std::int64_t>(screen.LinesScrolledOff());
    std::vector<TermCell> cells;
    if (line >= scrolledOff) {
        const auto row = static_cast<int>(line - scrolledOff);
        for (int column = 0; column < screen.Columns(); ++column)
            cells.push_back(screen.Cell(row, column));
        return cells;
    }
    const auto& kept = screen.Scrollback();
    const std::int64_t index = line - (scrolledOff - static_cast<std::int64_t>(kept.size()));
    if (index >= 0)
        cells = kept[static_cast<std::size_t>(index)];
    cells.resize(static_cast<std::size_t>(screen.Columns()));
    return cells;
}

std::vector<TermCell> TTerminal::ViewRow(int row, std::int64_t& line) const {
    line = static_cast<std::int64_t>(emulator_->Screen().LinesScrolledOff()) - scrollOffset_ + row;
    return LineCells(line);
}

void TTerminal::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), PaletteColour(0));
    painter.setFont(drawFont_);
    const TerminalScreen& screen = emulator_->Screen();
    for (int row = 0; row < screen.Rows(); ++row) {
        std::int64_t line = 0;
        const std::vector<TermCell> cells = ViewRow(row, line);
        PaintRow(painter, row, cells, line);
    }
    const bool cursorShown =
        active_ && scrollOffset_ == 0 && screen.CursorVisible() && (blinkTime_ == 0 || blinkOn_);
    if (cursorShown) {
        const int height = std::max(2, cell_.height() / 8);
        const QRect cursor(kBorder + screen.CursorColumn() * cell_.width(),
                           kBorder + (screen.CursorRow() + 1) * cell_.height() - height,
                           cell_.width(), height);
        painter.fillRect(cursor,
                         PaletteColour(screen.Cell(screen.CursorRow(), screen.CursorColumn()).fg));
    }
}

void TTerminal::PaintRow(QPainter& painter, int row, const std::vector<TermCell>& cells,
                         std::int64_t line) {
    const int top = kBorder + row * cell_.height();
    QString run;
    int runStart = 0;
    QColor runColour;
    bool runUnderline = false;
    auto flush = [&] {
        if (run.isEmpty())
            return;
        QFont font = drawFont_;
        font.setUnderline(runUnderline);
        painter.setFont(font);
        painter.setPen(runColour);
        painter.drawText(QPoint(kBorder + runStart * cell_.width(), top + ascent_), run);
        run.clear();
    };
    for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
        const TermCell& cell = cells[static_cast<std::size_t>(column)];
        QColor fg = PaletteColour(cell.fg);
        QColor bg = PaletteColour(cell.bg);
        if (Marked(line, column))
            std::swap(fg, bg);
        const QRect box(kBorder + column * cell_.width(), top, cell_.width(), cell_.height());
        painter.fillRect(box, bg);
        const bool hidden = cell.ch == U' ' || (cell.blink && !blinkOn_ && blinkTime_ > 0);
        const bool plain = cell.ch < 0x80;
        if (hidden || !plain || fg != runColour || cell.underline != runUnderline)
            flush();
        if (hidden || DrawBoxCharacter(painter, box, cell.ch, fg, bg))
            continue;
        if (!plain) {
            runColour = fg;
            runUnderline = cell.underline;
            runStart = column;
            run = CellText(cell.ch);
            flush();
            continue;
        }
        if (run.isEmpty()) {
            runStart = column;
            runColour = fg;
            runUnderline = cell.underline;
        }
        run += QChar(static_cast<char16_t>(cell.ch));
    }
    flush();
}

TTerminal::Mark TTerminal::MarkAt(const QPoint& point) const {
    const int row = std::clamp((point.y() - kBorder) / cell_.height(), 0, rows_ - 1);
    const int column = std::clamp((point.x() - kBorder) / cell_.width(), 0, columns_ - 1);
    return {static_cast<std::int64_t>(emulator_->Screen().LinesScrolledOff()) - scrollOffset_ + row,
            column};
}

std::pair<TTerminal::Mark, TTerminal::Mark> TTerminal::OrderedMarks() const {
    return anchor_.NotAfter(extent_) ? std::pair(anchor_, extent_) : std::pair(extent_, anchor_);
}

bool TTerminal::Marked(std::int64_t line, int column) const {
    if (!hasMarks_)
        return false;
    const auto [first, last] = OrderedMarks();
    const Mark here{line, column};
    return first.NotAfter(here) && here.NotAfter(last);
}

void TTerminal::Select(int fromRow, int fromColumn, int toRow, int toColumn) {
    const auto first =
        static_cast<std::int64_t>(emulator_->Screen().LinesScrolledOff()) - scrollOffset_;
    anchor_ = {first + fromRow, fromColumn};
    extent_ = {first + toRow, toColumn};
    hasMarks_ = true;
    update();
}

void TTerminal::ClearSelection() {
    if (!hasMarks_)
        return;
    hasMarks_ = false;
    update();
}

QString TTerminal::SelectedText() const {
    if (!hasMarks_)
        return {};
    const auto [first, last] = OrderedMarks();
    QStringList lines;
    for (std::int64_t line = first.line; line <= last.line; ++line) {
        const std::vector<TermCell> cells = LineCells(line);
        const int from = line == first.line ? first.column : 0;
        const int to = line == last.line ? last.column : static_cast<int>(cells.size()) - 1;
        QString text;
        for (int column = from; column <= to && column < static_cast<int>(cells.size()); ++column)
            text += CellText(cells[static_cast<std::size_t>(column)].ch);
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        lines << text;
    }
    return lines.join(QLatin1Char('\n'));
}

void TTerminal::CopyToClipboard() const {
    if (hasMarks_)
        QApplication::clipboard()->setText(SelectedText());
}

bool TTerminal::event(QEvent* event) {
    // Tab and Backtab belong to the mailbox, not to the focus chain.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QWidget::event(event);
}

void TTerminal::keyPressEvent(QKeyEvent* event) {
    const auto modifiers = event->modifiers();
    if ((modifiers & Qt::ShiftModifier) &&
        (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown)) {
        ScrollBack(event->key() == Qt::Key_PageUp ? rows_ - 1 : 1 - rows_);
        return;
    }
    const bool copy = (modifiers & Qt::ControlModifier) &&
                      (event->key() == Qt::Key_Insert ||
                       (event->key() == Qt::Key_C && (modifiers & Qt::ShiftModifier)));
    if (copy) {
        CopyToClipboard();
        return;
    }
    const QByteArray bytes = TTerminalEmulator::KeyBytes(event->key(), modifiers, event->text());
    if (bytes.isEmpty()) {
        QWidget::keyPressEvent(event);
        return;
    }
    scrollOffset_ = 0;
    if (!active_)
        return;
    if (port_ && port_->Open())
        port_->Write(bytes);
    if (halfDuplex_)
        emulator_->Process(bytes);
}

void TTerminal::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    anchor_ = extent_ = MarkAt(event->position().toPoint());
    marking_ = true;
    ClearSelection();
}

void TTerminal::mouseMoveEvent(QMouseEvent* event) {
    if (!marking_ || !(event->buttons() & Qt::LeftButton))
        return;
    extent_ = MarkAt(event->position().toPoint());
    hasMarks_ = true;
    update();
}

void TTerminal::wheelEvent(QWheelEvent* event) {
    ScrollBack(event->angleDelta().y() / 40);
}

} // namespace comms
