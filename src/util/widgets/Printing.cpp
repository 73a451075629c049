#include "util/widgets/Printing.h"

#include "util/widgets/ProgressForm.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressBar>

namespace util {

namespace {

void UsePdfOutput(QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
}

std::unique_ptr<QPrinter> CreateProgramPrinter() {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    const QPrinterInfo standard = QPrinterInfo::defaultPrinter();
    if (standard.isNull())
        UsePdfOutput(*printer);
    else
        printer->setPrinterName(standard.printerName());
    return printer;
}

// Each tab becomes the blanks up to the next multiple of eight characters.
QString ExpandTabs(const QString& line) {
    constexpr int kTabWidth = 8;
    QString expanded;
    for (const QChar c : line) {
        if (c == u'\t')
            expanded += QString(kTabWidth - expanded.size() % kTabWidth, u' ');
        else
            expanded += c;
    }
    return expanded;
}

std::unique_ptr<QPrinter>& ProgramPrinterHolder() {
    static std::unique_ptr<QPrinter> printer;
    return printer;
}

// The printer goes with the application object, while the printing system is still there.
void FreeProgramPrinter() {
    ProgramPrinterHolder().reset();
}

} // namespace

QPrinter& ProgramPrinter() {
    std::unique_ptr<QPrinter>& printer = ProgramPrinterHolder();
    if (!printer) {
        printer = CreateProgramPrinter();
        qAddPostRoutine(FreeProgramPrinter);
    }
    return *printer;
}

QString PdfPrinterName() {
    return QStringLiteral("PDF-Datei");
}

QStringList PrinterNames() {
    QStringList names = QPrinterInfo::availablePrinterNames();
    names << PdfPrinterName();
    return names;
}

void SelectPrinter(const QString& name) {
    QPrinter& printer = ProgramPrinter();
    if (name != PdfPrinterName() && QPrinterInfo::availablePrinterNames().contains(name)) {
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(name);
    } else {
        UsePdfOutput(printer);
    }
}

bool PrinterReady(QPrinter& printer, QWidget* parent) {
    if (printer.outputFormat() != QPrinter::PdfFormat || !printer.outputFileName().isEmpty())
        return true;
    const QString file = QFileDialog::getSaveFileName(
        parent, QStringLiteral("In PDF-Datei drucken"), QStringLiteral("Kestrova Pandex CD.pdf"),
        QStringLiteral("PDF-Dateien (*.pdf)"));
    if (file.isEmpty())
        return false;
    printer.setOutputFileName(file);
    return true;
}

int RoundedPercent(long long done, long long total) {
    const long long scaled = 100 * done;
    long long percent = scaled / total;
    const long long twiceRest = 2 * (scaled % total);
    if (twiceRest > total || (twiceRest == total && percent % 2 != 0))
        ++percent;
    return static_cast<int>(percent);
}

TPrinterTextDevice::TPrinterTextDevice(QPrinter& printer, const QString& jobTitle,
                                       const QFont& font)
    : printer_(printer), painter_(std::make_unique<QPainter>()) {
    printer_.setDocName(jobTitle);
    if (!painter_->begin(&printer_))
        throw EPrinter("Der Druckauftrag konnte nicht begonnen werden.");
    painter_->setFont(QFont(font, painter_->device()));
    const QFontMetrics metrics(painter_->font(), painter_->device());
    lineHeight_ = metrics.lineSpacing();
    ascent_ = metrics.ascent();
}

TPrinterTextDevice::~TPrinterTextDevice() {
    if (painter_->isActive())
        painter_->end();
}

void TPrinterTextDevice::WriteLine(const QString& line) {
    const int pageHeight = painter_->viewport().height();
    if (y_ > 0 && y_ + lineHeight_ > pageHeight) {
        if (!printer_.newPage())
            throw EPrinter("Der Drucker nimmt keine neue Seite an.");
        ++pages_;
        y_ = 0;
    }
    painter_->drawText(0, y_ + ascent_, ExpandTabs(line));
    y_ += lineHeight_;
}

void TPrinterTextDevice::Close() {
    if (!painter_->end())
        throw EPrinter("Der Druckauftrag konnte nicht abgeschlossen werden.");
}

void PrintLines(const QStringList& lines, const QFont& font) {
    if (lines.isEmpty() || !PrinterReady(ProgramPrinter()))
        return;
    TProgressFormHolder progress;
    progress->show();
    progress->repaint();
    TPrinterTextDevice device(ProgramPrinter(), QString::fromLatin1(kLinesJobTitle), font);
    const long long count = lines.size();
    for (long long i = 0; i < count; ++i) {
        device.WriteLine(lines[i]);
        progress->Gauge->setValue(RoundedPercent(i + 1, count));
    }
    device.Close();
}

void CopyLinesToClipboard(const QStringList& lines) {
    if (lines.isEmpty())
        return;
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    QApplication::clipboard()->setText(text);
}

QFont NewFont(const QString& family) {
    QFont font(family);
    font.setPointSize(8);
    return font;
}

} // namespace util
