// Printing and copying plain lines: the program's printer (chosen by the printer set-up, used by
// every print command), a line-oriented text device on it, and the clipboard as plain text.
#pragma once

#include "rtl/Exceptions.h"

#include <QFont>
#include <QString>
#include <QStringList>
#include <memory>

class QPainter;
class QPrinter;
class QWidget;

namespace util {

// A print job that could not be started or finished.
class EPrinter : public rtl::Exception {
    using Exception::Exception;
};

// The printer the program prints on. It starts as the system's default printer, or, without
// one, as Qt's own PDF output.
QPrinter& ProgramPrinter();

// The name under which the PDF output is offered besides the installed printers.
QString PdfPrinterName();
// The printers to choose from: the installed ones in the printing system's order, then the PDF
// output, which is always there.
QStringList PrinterNames();
// Makes the named printer the program's printer; PdfPrinterName() (or a name the printing
// system does not know) chooses the PDF output.
void SelectPrinter(const QString& name);

// A printer that prints into a PDF file without a file name yet asks for one (parent is the
// dialog's owner). False when the user cancels: then nothing is to be printed.
bool PrinterReady(QPrinter& printer, QWidget* parent = nullptr);

// 100 * done / total to the nearest whole number, halves to the even one.
int RoundedPercent(long long done, long long total);

// The printer as a text device: each written line is one printed line, in the font given, from
// the top of the printable area down; a line that does not fit on the page starts a new one.
// Tabs go to every eighth character. The job starts with the device (EPrinter when it cannot)
// and ends with Close, or with the device's end, so an error never leaves a job open.
class TPrinterTextDevice {
public:
    TPrinterTextDevice(QPrinter& printer, const QString& jobTitle, const QFont& font);
    ~TPrinterTextDevice();
    TPrinterTextDevice(const TPrinterTextDevice&) = delete;
    TPrinterTextDevice& operator=(const TPrinterTextDevice&) = delete;

    void WriteLine(const QString& line);
    // Ends the job; EPrinter when the printer did not take it.
    void Close();
    int Pages() const { return pages_; }

private:
    QPrinter& printer_;
    std::unique_ptr<QPainter> painter_;
    int lineHeight_ = 0;
    int ascent_ = 0;
    int y_ = 0;
    int pages_ = 1;
};

// The print-job title of printed lines.
inline constexpr const char* kLinesJobTitle = "Kestrova Pandex CD";

// Prints lines on the program's printer under the job title "Kestrova Pandex CD", showing the
// progress window ("Drucke Text...") meanwhile; nothing for no lines or a cancelled file name.
void PrintLines(const QStringList& lines, const QFont& font);

// Replaces the clipboard's content by the lines as plain text, each followed by CR LF; nothing
// for no lines.
void CopyLinesToClipboard(const QStringList& lines);

// A new font of that name in the size a new font object has (8 points).
QFont NewFont(const QString& family);

} // namespace util
