// The two sinks of an order: the clipboard (text lines, copied when the order is complete) and
// the printer (one page, Courier New 12 points on a grid of lines and columns, fold marks).
#pragma once

#include "order/OrderComposer.h"

#include <QFont>
#include <QPainter>

class QPrinter;

namespace order {

// Lines of text; a column is two characters. Right-hand texts written first keep their place
// when a shorter left-hand text is written over the blanks before them.
class TClipboardSink : public TOrderSink {
public:
    void SkipLines(int count) override;
    void WriteRemarks(const QString& heading, const QStringList& lines) override;
    const QStringList& Lines() const { return lines_; }
    // Puts the lines on the clipboard, each followed by CR LF. An order that failed to compose
    // never gets here, so the clipboard keeps what it had.
    void Finish() const;

protected:
    void Write(int line, int column, const QString& text) override;

private:
    QStringList lines_;
};

// Prints on one page: the text grid starts one inch right of and one and a half inches below the
// corner of the printable area; a line is the height of "Wj" and a fifth of it, a column the
// width of "Wj". The job starts with the sink (EPrinter when it cannot) and ends with Finish, or
// with the sink's end, so an error never leaves a job open.
class TPrinterSink : public TOrderSink {
public:
    explicit TPrinterSink(QPrinter& printer);
    ~TPrinterSink() override;
    TPrinterSink(const TPrinterSink&) = delete;
    TPrinterSink& operator=(const TPrinterSink&) = delete;

    void SetPrintStyle(TPrintStyle style) override;
    void WriteRemarks(const QString& heading, const QStringList& lines) override;
    void DrawFoldMarks() override;
    // Ends the job; EPrinter when the printer did not take it.
    void Finish();

    int LineHeight() const { return lineHeight_; }
    int ColumnWidth() const { return columnWidth_; }

protected:
    void Write(int line, int column, const QString& text) override;

private:
    QPrinter& printer_;
    QPainter painter_;
    QFont font_;
    int dpiX_ = 0;
    int dpiY_ = 0;
    int lineHeight_ = 0;
    int columnWidth_ = 0;
    int ascent_ = 0;
};

// The print job's title.
inline constexpr const char* kOrderJobTitle = "Bestellformular";

} // namespace order
