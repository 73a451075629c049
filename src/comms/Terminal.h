// TTerminal: the terminal display. It shows a TTerminalEmulator's screen in the 16 classic
// colours (bold as bright, blinking text and cursor at BlinkTime), sends typed keys to its
// TComPort and feeds the port's data to the emulator while it is Active. Its size follows the
// font's character cell: DisplayColumns × DisplayRows cells and a small border.
//
// The mouse marks text (kept while data arrives when marks are persistent); Ctrl+Insert or
// Ctrl+Shift+C copies it. Shift+PageUp/PageDown and the wheel scroll back through the lines that
// left the screen; any key returns to the live screen. Repaints are gathered so that a flood of
// data costs one repaint per frame.
#pragma once

#include <QColor>
#include <QFont>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <utility>
#include <vector>

namespace comms {

class TComPort;
class TTerminalEmulator;
struct TermCell;

class TTerminal : public QWidget {
    Q_OBJECT

public:
    static constexpr int kBorder = 2;
    static constexpr int kMaxColumns = 132;
    static constexpr int kMaxRows = 60;

    explicit TTerminal(QWidget* parent = nullptr);
    ~TTerminal() override;

    TComPort* ComPort() const { return port_; }
    void SetComPort(TComPort* port);
    // Without one set, the display uses an emulator of its own.
    TTerminalEmulator* Emulator() const { return emulator_; }
    void SetEmulator(TTerminalEmulator* emulator);

    bool Active() const { return active_; }
    void SetActive(bool active);

    // The font as set ("Terminal" stands for the platform's fixed-pitch font, at its size).
    QFont TerminalFont() const { return font_; }
    void SetTerminalFont(const QFont& font);
    QSize CellSize() const { return cell_; }

    int DisplayColumns() const { return columns_; }
    // 1 … kMaxColumns.
    void SetDisplayColumns(int columns);
    int DisplayRows() const { return rows_; }
    // 1 … kMaxRows.
    void SetDisplayRows(int rows);

    int BlinkTime() const { return blinkTime_; }
    // 0: nothing blinks.
    void SetBlinkTime(int ms);
    bool PersistentMarks() const { return persistentMarks_; }
    void SetPersistentMarks(bool persistent) { persistentMarks_ = persistent; }
    // Half duplex shows typed keys itself; full duplex leaves the echo to the far end.
    bool HalfDuplex() const { return halfDuplex_; }
    void SetHalfDuplex(bool half) { halfDuplex_ = half; }

    // Lines scrolled back from the live screen (0: live).
    int ScrollOffset() const { return scrollOffset_; }
    void ScrollBack(int lines);

    QString SelectedText() const;
    void Select(int fromRow, int fromColumn, int toRow, int toColumn);
    void ClearSelection();
    void CopyToClipboard() const;

    // The colour of a palette index (0..15).
    static QColor PaletteColour(int index);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    struct Mark {
        std::int64_t line = 0; // absolute: counts every line that ever scrolled off
        int column = 0;
        // Whether this mark comes before other in reading order, or is the same.
        bool NotAfter(const Mark& other) const {
            return line < other.line || (line == other.line && column <= other.column);
        }
    };

    void DataReceived(const QByteArray& bytes);
    void ScreenChanged();
    void Relayout();
    void PaintRow(QPainter& painter, int row, const std::vector<TermCell>& cells,
                  std::int64_t line);
    std::vector<TermCell> ViewRow(int row, std::int64_t& line) const;
    std::vector<TermCell> LineCells(std::int64_t line) const;
    Mark MarkAt(const QPoint& point) const;
    // Anchor and extent in reading order.
    std::pair<Mark, Mark> OrderedMarks() const;
    bool Marked(std::int64_t line, int column) const;

    QPointer<TComPort> port_;
    TTerminalEmulator* emulator_;
    TTerminalEmulator* ownEmulator_;
    bool active_ = false;
    QFont font_;
    QFont drawFont_;
    QSize cell_;
    int ascent_ = 0;
    int columns_ = 80;
    int rows_ = 24;
    int blinkTime_ = 550;
    bool blinkOn_ = true;
    bool persistentMarks_ = true;
    bool halfDuplex_ = false;
    int scrollOffset_ = 0;
    bool marking_ = false;
    bool hasMarks_ = false;
    Mark anchor_;
    Mark extent_;
    QTimer blinkTimer_;
    QTimer repaintTimer_;
};

} // namespace comms
