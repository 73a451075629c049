#include "order/OrderSinks.h"

#include "util/widgets/Printing.h"

#include <QFontMetrics>
#include <QPrinter>
#include <cmath>

namespace order {

void TClipboardSink::Write(int line, int column, const QString& text) {
    while (lines_.size() < line + 1)
        lines_.append(QString());
    const QString padding(2 * column, u' ');
    const QString rest = lines_[line].mid(padding.size() + text.size());
    lines_[line] = padding + text + rest;
}

void TClipboardSink::SkipLines(int count) {
    TOrderSink::SkipLines(count);
    for (int i = 0; i < count; ++i)
        lines_.append(QString());
}

void TClipboardSink::WriteRemarks(const QString& heading, const QStringList& lines) {
    lines_.append(heading);
    lines_.append(lines);
}

void TClipboardSink::Finish() const {
    util::CopyLinesToClipboard(lines_);
}

TPrinterSink::TPrinterSink(QPrinter& printer) : printer_(printer) {
    printer_.setDocName(QString::fromLatin1(kOrderJobTitle));
    if (!painter_.begin(&printer_))
        throw util::EPrinter("Der Druckauftrag konnte nicht begonnen werden.");
    dpiX_ = printer_.logicalDpiX();
    dpiY_ = printer_.logicalDpiY();
    painter_.translate(dpiX_, std::round(1.5 * dpiY_));
    font_ = QFont(QStringLiteral("Courier New"), 12);
    SetPrintStyle(TPrintStyle::Plain);
    const QFontMetrics metrics(painter_.font(), &printer_);
    const int height = metrics.height();
    lineHeight_ = height + height / 5;
    columnWidth_ = metrics.horizontalAdvance(QStringLiteral("Wj"));
    ascent_ = metrics.ascent();
}

TPrinterSink::~TPrinterSink() {
    if (painter_.isActive())
        painter_.end();
}

void TPrinterSink::SetPrintStyle(TPrintStyle style) {
    font_.setBold(style == TPrintStyle::Bold);
    font_.setItalic(style == TPrintStyle::Italic);
    painter_.setFont(QFont(font_, &printer_));
}

void TPrinterSink::Write(int line, int column, const QString& text) {
    if (!text.isEmpty())
        painter_.drawText(column * columnWidth_, line * lineHeight_ + ascent_, text);
}

void TPrinterSink::WriteRemarks(const QString& heading, const QStringList& lines) {
    SetPrintStyle(TPrintStyle::Bold);
    WriteAt(0, heading);
    SetPrintStyle(TPrintStyle::Plain);
    for (const QString& line : lines)
        WriteAt(1, line);
}

// Two short lines left of the text, where a letter is folded into thirds.
void TPrinterSink::DrawFoldMarks() {
    QPen pen(Qt::black);
    pen.setWidth(4);
    painter_.setPen(pen);
    const int d = dpiX_ / 10;
    const int pageHeight = printer_.height();
    const int first = pageHeight / 3 - static_cast<int>(std::round(8 * dpiY_ * 0.2));
    const int second = 2 * pageHeight / 3 - static_cast<int>(std::round(7 * dpiY_ * 0.2));
    painter_.drawLine(-4 * d, first, -5 * d, first);
    painter_.drawLine(-4 * d, second, -5 * d, second);
}

void TPrinterSink::Finish() {
    if (!painter_.end())
        throw util::EPrinter("Der Druckauftrag konnte nicht abgeschlossen werden.");
}

} // namespace order
