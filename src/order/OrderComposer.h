// The order as a letter on a grid of lines and columns, written to a sink: the printer (one page)
// or the clipboard (plain text). The order itself is plain data that the order form fills in.
#pragma once

#include <QString>
#include <QStringList>
#include <array>

namespace order {

// The countries in the order of the form's country box.
enum TOrderCountry { ocDeutschland, ocOesterreich, ocSchweiz, ocEUAusland, ocNichtEUAusland };
enum TPayment { pyScheck, pyNachnahme, pyKreditkarte, pyRechnung };
enum TArticle { arCD, arAbo, arFAQ };

struct TOrderArticle {
    bool Offered = true;
    bool Checked = false;
    QString PriceText; // as the form's price label shows it
};

struct TOrder {
    TOrderCountry Country = ocDeutschland;
    std::array<TOrderArticle, 3> Articles;
    QString CustomerNumber;
    QString Company;
    QString Name;
    QString Street;
    QString PostalCode;
    QString City;
    QString Telephone;
    QString Fax;
    QString EMail;
    TPayment Payment = pyScheck;
    // The card kind's caption (with its accelerator), number and expiry, as the card dialog
    // shows them; used with payment by card only.
    QString CardKind;
    QString CardNumber;
    QString CardExpiry;
    QStringList Remarks;
};

enum class TPrintStyle { Plain, Bold, Italic };

// Where an order is written. A current line starts at 0; WriteAt writes on it and moves to the
// next; two texts go on one line by writing the right-hand one first, stepping back and writing
// the left-hand one.
class TOrderSink {
public:
    virtual ~TOrderSink() = default;

    int Line() const { return line_; }
    void SetLine(int line) { line_ = line; }
    void StepBack() { --line_; }
    void WriteAt(int column, const QString& text);
    virtual void SkipLines(int count) { line_ += count; }
    virtual void SetPrintStyle(TPrintStyle) {}
    virtual void WriteRemarks(const QString& heading, const QStringList& lines) = 0;
    virtual void DrawFoldMarks() {}

protected:
    virtual void Write(int line, int column, const QString& text) = 0;

private:
    int line_ = 0;
};

// The text with every "&" removed.
QString StripAccelerator(const QString& text);

void ComposeOrder(const TOrder& order, TOrderSink& sink);

} // namespace order
