#include "order/OrderComposer.h"

#include "order/OrderAddresses.h"

namespace order {

namespace {

constexpr int kRecipientRightColumn = 16;
constexpr int kPriceColumn = 28;
constexpr int kCustomerNumberColumn = 20;
constexpr int kValueColumn = 7;

const char* const kCountryLines[] = {
    "Bestellung innerhalb Deutschlands", "Bestellung innerhalb Östereich",
    "Bestellung innerhalb der Schweiz",  "Bestellung innerhalb der EU",
    "Bestellung außerhalb der EU",
};

const char* const kArticleRows[] = {
    "[%1] Kestrova Pandex CD-ROM",
    "[%1] Abonnement Kestrova Pandex CD-ROM",
    "[%1] Kestrova Pandex FAQ auf Diskette",
};

void WriteRow(TOrderSink& sink, int leftColumn, const QString& left, int rightColumn,
              const QString& right) {
    sink.WriteAt(rightColumn, right);
    sink.StepBack();
    sink.WriteAt(leftColumn, left);
}

void WriteRecipientRow(TOrderSink& sink, const QString& left, const QString& right) {
    WriteRow(sink, 0, left, kRecipientRightColumn, right);
}

void WriteRecipient(TOrderCountry country, TOrderSink& sink) {
    sink.SetLine(0);
    if (country == ocOesterreich) {
        const TPartyAddress& a = AustrianDistributor();
        WriteRecipientRow(sink, a.Contact, "Tel: " + a.Telephone);
        WriteRecipientRow(sink, a.Street, "FAX: " + a.Fax);
        WriteRecipientRow(sink, a.PostalCodeAndCity, "FIDO: " + a.FidoNode);
        WriteRecipientRow(sink, a.Country, "Internet: " + a.EMail);
        sink.SkipLines(1);
    } else if (country == ocSchweiz) {
        const TPartyAddress& a = SwissDistributor();
        WriteRecipientRow(sink, a.Company, "Tel: " + a.Telephone);
        WriteRecipientRow(sink, a.Contact, "FAX: " + a.Fax);
        WriteRecipientRow(sink, a.Street, "FIDO: " + a.FidoNode);
        WriteRecipientRow(sink, a.PostalCodeAndCity, "BBS: " + a.MailboxTelephone);
        WriteRecipientRow(sink, a.Country, "Internet: " + a.EMail);
    } else {
        const TPartyAddress& a = MakerAddress();
        WriteRecipientRow(sink, a.Company, "Tel: " + a.Telephone);
        WriteRecipientRow(sink, a.Contact, "FAX: " + a.Fax);
        WriteRecipientRow(sink, a.Street, a.OnlineId);
        WriteRecipientRow(sink, a.PostalCodeAndCity, "FIDO: " + a.FidoNode);
        WriteRecipientRow(sink, a.Country, "Internet: " + a.EMail);
    }
    sink.SkipLines(3);
}

void WriteCountryLine(TOrderCountry country, TOrderSink& sink) {
    sink.SetPrintStyle(TPrintStyle::Bold);
    sink.WriteAt(0, QString::fromUtf8(kCountryLines[country]));
    if (country == ocNichtEUAusland) {
        sink.WriteAt(1, QStringLiteral("Achtung: Beim Verschicken in Nicht-EU-Länder trägt der"));
        sink.WriteAt(1, QStringLiteral("         Empfänger die Zollkosten in voller Höhe!"));
    }
    sink.SetPrintStyle(TPrintStyle::Plain);
    sink.SkipLines(1);
}

void WriteArticle(const TOrder& order, TArticle article, TOrderSink& sink) {
    const TOrderArticle& item = order.Articles[article];
    const QString row =
        QString::fromUtf8(kArticleRows[article]).arg(item.Checked ? QStringLiteral("X") : " ");
    WriteRow(sink, 1, row, kPriceColumn, item.PriceText);
}

void WriteArticles(const TOrder& order, TOrderSink& sink) {
    sink.SetPrintStyle(TPrintStyle::Bold);
    sink.WriteAt(0, QStringLiteral("Ich bestelle von Kestrova Software folgende Artikel:"));
    sink.SkipLines(1);
    sink.SetPrintStyle(TPrintStyle::Plain);
    WriteArticle(order, arCD, sink);
    if (order.Articles[arAbo].Offered)
        WriteArticle(order, arAbo, sink);
    if (order.Articles[arFAQ].Offered)
        WriteArticle(order, arFAQ, sink);
    else
        sink.SkipLines(1);
    sink.SkipLines(3);
}

void WriteLabeled(TOrderSink& sink, const QString& label, const QString& value) {
    sink.WriteAt(kValueColumn, value);
    sink.StepBack();
    sink.SetPrintStyle(TPrintStyle::Italic);
    sink.WriteAt(1, label);
    sink.SetPrintStyle(TPrintStyle::Plain);
}

void WriteDeliveryAddress(const TOrder& order, TOrderSink& sink) {
    if (!order.CustomerNumber.isEmpty()) {
        sink.WriteAt(kCustomerNumberColumn, "Kundennummer: " + order.CustomerNumber);
        sink.StepBack();
    }
    sink.SetPrintStyle(TPrintStyle::Bold);
    sink.WriteAt(0, QStringLiteral("Lieferadresse:"));
    sink.SetPrintStyle(TPrintStyle::Plain);
    sink.SkipLines(1);
    WriteLabeled(sink, QStringLiteral("Firma:"), order.Company);
    WriteLabeled(sink, QStringLiteral("Name:"), order.Name);
    WriteLabeled(sink, QStringLiteral("Straße:"), order.Street);
    WriteLabeled(sink, QStringLiteral("Ort:"), order.PostalCode + " " + order.City);
    WriteLabeled(sink, QStringLiteral("Telefon:"), order.Telephone);
    WriteLabeled(sink, QStringLiteral("Fax:"), order.Fax);
    WriteLabeled(sink, QStringLiteral("EMail:"), order.EMail);
    sink.SkipLines(1);
}

void WritePayment(const TOrder& order, TOrderSink& sink) {
    if (order.Payment == pyKreditkarte) {
        sink.WriteAt(2, QStringLiteral("Ich zahle per Kreditkarte") +
                            QStringLiteral(" [%1]").arg(StripAccelerator(order.CardKind)));
        sink.WriteAt(2, QStringLiteral("Kartendaten:  Nummer: %1   gültig bis: %2")
                            .arg(order.CardNumber, order.CardExpiry));
        sink.SkipLines(2);
        return;
    }
    const QString line = order.Payment == pyRechnung    ? "Ich zahle per Rechnung nach Erhalt"
                         : order.Payment == pyNachnahme ? "Ich zahle per Nachnahme"
                                                        : "Ich zahle per Verrechnungsscheck";
    sink.WriteAt(1, line);
    sink.SkipLines(5);
}

} // namespace

void TOrderSink::WriteAt(int column, const QString& text) {
    Write(line_, column, text);
    ++line_;
}

QString StripAccelerator(const QString& text) {
    QString stripped = text;
    return stripped.remove(u'&');
}

void ComposeOrder(const TOrder& order, TOrderSink& sink) {
    WriteRecipient(order.Country, sink);
    WriteCountryLine(order.Country, sink);
    WriteArticles(order, sink);
    WriteDeliveryAddress(order, sink);
    WritePayment(order, sink);
    if (!order.Remarks.isEmpty())
        sink.WriteRemarks(QStringLiteral("Bemerkungen und Tips an Kestrova Software:"),
                          order.Remarks);
    sink.DrawFoldMarks();
}

} // namespace order
