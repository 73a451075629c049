#include "order/BestellForm.h"

#include "browser/AnsiText.h"
#include "entryfields/EntryController.h"
#include "entryfields/PictureField.h"
#include "order/CreditForm.h"
#include "order/EnterKeyRule.h"
#include "order/HintForm.h"
#include "order/OrderSinks.h"
#include "order/PrinterSelForm.h"
#include "order/Registration.h"
#include "util/widgets/ButtonGlyphs.h"
#include "util/widgets/Controls.h"
#include "util/widgets/MLHint.h"
#include "util/widgets/MsgBox.h"
#include "util/widgets/Printing.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

namespace order {

using util::Placed;

namespace {

constexpr int kLabelLeft = 10;
constexpr int kLabelWidth = 100;
constexpr int kFieldLeft = 118;
constexpr int kFieldWidth = 374;
constexpr int kRowTop = 22;
constexpr int kRowStep = 27;
constexpr int kRowHeight = 24;

enum TCurrency { cuDM, cuOeS, cuFr };

// What a country offers, and at which prices: the currency's prices plus the surcharges.
struct TCountryOffer {
    TCurrency currency;
    double cdSurcharge;
    double aboSurcharge;
    const char* format;
    bool aboOffered;
    bool faqOffered;
    bool austrianCards;
};

constexpr TCountryOffer kOffers[] = {
    {cuDM, 0.0, 0.0, "DM %5.2f", true, true, false},    // Deutschland
    {cuOeS, 0.0, 0.0, "%6.2f öS", true, false, true},   // Österreich
    {cuFr, 0.0, 0.0, "Fr %6.2f", false, false, false},  // Schweiz
    {cuDM, 10.0, 35.0, "DM %5.2f", true, true, false},  // EU - Ausland
    {cuDM, 10.0, 35.0, "DM %5.2f", false, true, false}, // nicht EU - Ausland
};

// The label of a row, left of its field, which its accelerator focuses.
void RowLabel(const char* name, const QString& caption, QWidget* field) {
    auto* label = Placed(new QLabel(caption, field->parentWidget()), name, kLabelLeft,
                         field->y() + 3, kLabelWidth, 18);
    label->setBuddy(field);
}

template <class Field>
Field* PlaceField(Field* field, const char* name, int row, int left, int width) {
    return Placed(field, name, left, kRowTop + row * kRowStep, width, kRowHeight);
}

void ShowMeldung(const QString& text) {
    util::ExecuteMsgBox(QStringLiteral("Meldung"), text);
}

} // namespace

TBestellForm::TBestellForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("BestellForm"));
    setWindowTitle(QStringLiteral("Bestellformular"));
    setFixedSize(520, 496);
    Controller = new entryfields::TEntryController(this);
    CreateProducts();
    CreateAddress();
    CreatePayment();
    CreateButtons();
    MLHints = new util::TMLHint(this);
    MLHints->Active = true;
    MLHints->Separator = u'@';
    new TEnterKeyRule(*this);
    FormCreate();
    connect(CountryBox, &QComboBox::currentIndexChanged, this, &TBestellForm::CountryBoxChange);
}

TBestellForm::~TBestellForm() = default;

void TBestellForm::CreateProducts() {
    ProduktBox =
        Placed(new QGroupBox(QStringLiteral(" Artikel - Alle Preise inkl. Versandkosten "), this),
               "ProduktBox", 8, 6, 504, 94);
    const auto article = [this](const char* name, const QString& caption, int row) {
        return Placed(new QCheckBox(caption, ProduktBox), name, 10, 20 + row * 23, 380, 22);
    };
    const auto price = [this](const char* name, int row) {
        auto* label = Placed(new QLabel(ProduktBox), name, 396, 20 + row * 23, 96, 22);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return label;
    };
    PandexCDSel =
        article("PandexCDSel", QStringLiteral("&Kestrova Pandex CD-ROM, aktuellste Ausgabe"), 0);
    PandexCDSel->setChecked(true);
    AboSel = article("AboSel", QStringLiteral("&Abonnement Kestrova Pandex CD-ROM (4 Stück)"), 1);
    FAQSel = article("FAQSel",
                     QStringLiteral("Aktuelle Version des Kestrova Pandex &FAQ auf Diskette"), 2);
    DCDPriceLabel = price("DCDPriceLabel", 0);
    AboPriceLabel = price("AboPriceLabel", 1);
    FAQPriceLabel = price("FAQPriceLabel", 2);
    connect(PandexCDSel, &QCheckBox::clicked, this, &TBestellForm::PandexCDSelClick);
    connect(AboSel, &QCheckBox::clicked, this, &TBestellForm::AboSelClick);
}

void TBestellForm::CreateAddress() {
    AdressBox = Placed(new QGroupBox(QStringLiteral(" Lieferanschrift "), this), "AdressBox", 8,
                       106, 504, 272);
    QWidget* box = AdressBox;
    CountryBox = PlaceField(new QComboBox(box), "CountryBox", 0, kFieldLeft, 180);
    CountryBox->addItems({QStringLiteral("Deutschland"), QStringLiteral("Österreich"),
                          QStringLiteral("Schweiz"), QStringLiteral("EU - Ausland"),
                          QStringLiteral("nicht EU - Ausland")});
    RowLabel("CountryLabel", QStringLiteral("&Land:"), CountryBox);
    KdNrField = PlaceField(new entryfields::TPictureField(Controller, box, QStringLiteral("XXXXX")),
                           "KdNrField", 1, kFieldLeft, 70);
    KdNrField->setToolTip(QStringLiteral("Bei Neukunden frei lassen"));
    RowLabel("KdNrLabel", QStringLiteral("&Kundennummer:"), KdNrField);
    const auto simple = [this, box](const char* name, int maxLength, int row) {
        return PlaceField(new entryfields::TSimpleField(Controller, box, maxLength), name, row,
                          kFieldLeft, kFieldWidth);
    };
    FirmaField = simple("FirmaField", 50, 2);
    RowLabel("FirmaLabel", QStringLiteral("F&irma:"), FirmaField);
    NameField = simple("NameField", 50, 3);
    RowLabel("NameLabel", QStringLiteral("&Name:"), NameField);
    Streetfield = simple("Streetfield", 50, 4);
    RowLabel("StreetLabel", QStringLiteral("&Straße:"), Streetfield);
    PLZField = PlaceField(new entryfields::TPictureField(Controller, box, QStringLiteral("99999")),
                          "PLZField", 5, kFieldLeft, 60);
    RowLabel("PLZLabel", QStringLiteral("Pl&Z/Ort:"), PLZField);
    VillageField = PlaceField(new entryfields::TSimpleField(Controller, box, 40), "VillageField", 5,
                              kFieldLeft + 66, kFieldWidth - 66);
    TelField = simple("TelField", 50, 6);
    RowLabel("TelLabel", QStringLiteral("Telef&on:"), TelField);
    FaxField = simple("FaxField", 50, 7);
    RowLabel("FaxLabel", QStringLiteral("Fa&x:"), FaxField);
    EMailField = simple("EMailField", 50, 8);
    RowLabel("EMailLabel", QStringLiteral("&EMail:"), EMailField);
}

void TBestellForm::CreatePayment() {
    CashBox =
        Placed(new QGroupBox(QStringLiteral(" Zahlungsweise "), this), "CashBox", 8, 386, 300, 102);
    CashBox->setToolTip(QStringLiteral("Jeder Sendung liegt@eine Rechnung bei."));
    const auto radio = [this](const char* name, const QString& caption, const QString& hint,
                              int row) {
        auto* button = Placed(new QRadioButton(caption, CashBox), name, 10, 18 + row * 20, 280, 20);
        button->setToolTip(hint);
        connect(button, &QRadioButton::clicked, this, [this, button] { CashCheckClick(button); });
        return button;
    };
    VScheck = radio("VScheck", QStringLiteral("&V - Scheck liegt bei"),
                    QStringLiteral("Legen Sie der Bestellung den Verrechnungsscheck bei."), 0);
    VScheck->setChecked(true);
    Nachnahme =
        radio("Nachnahme", QStringLiteral("Nachnahme (zz&gl. 6 DM)"),
              QStringLiteral("Sie zahlen den Betrag bar@an den überbringenden Postboten."), 1);
    Kreditkarte = radio("Kreditkarte", QStringLiteral("Kredi&tkarte"),
                        QStringLiteral("Der Betrag wird von Ihrer@Kreditkarte abgebucht."), 2);
    Rechnung = radio("Rechnung", QStringLiteral("&Rechnung nach Erhalt"),
                     QStringLiteral("Sie bezahlen die Rechnung spätestens@14 Tage nach Erhalt "
                                    "ohne Abzüge@auf unser Konto."),
                     3);
    Kreditkarte->installEventFilter(this);
}

void TBestellForm::CreateButtons() {
    const auto button = [this](const char* name, const QString& caption, const QString& hint,
                               int left, int top) {
        auto* created = Placed(new QPushButton(caption, this), name, left, top, 98, 30);
        created->setToolTip(hint);
        created->setAutoDefault(false);
        return created;
    };
    OpenHintBtn = button("OpenHintBtn", QStringLiteral("Hin&weise"),
                         QStringLiteral("Vorschläge an Kestrova Software"), 312, 420);
    PrintBtn =
        button("PrintBtn", QStringLiteral("Dr&ucken"),
               QStringLiteral("Drucken des Formulars@(Faxen mit Faxdruckertreiber)"), 414, 420);
    ClipBrdBtn =
        button("ClipBrdBtn", QStringLiteral("Ko&pieren"),
               QStringLiteral("Kopiert das Bestellformular@in die Zwischenablage"), 312, 458);
    CancelBtn = button("CancelBtn", QStringLiteral("Abbrechen"), QString(), 414, 458);
    CancelBtn->setIcon(util::ButtonGlyph(util::TButtonGlyph::Cross));
    connect(OpenHintBtn, &QPushButton::clicked, this, &TBestellForm::OpenHintBtnClick);
    connect(PrintBtn, &QPushButton::clicked, this, &TBestellForm::PrintBtnClick);
    connect(ClipBrdBtn, &QPushButton::clicked, this, &TBestellForm::ClipBrdBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TBestellForm::CancelBtnClick);
}

void TBestellForm::FormCreate() {
    CreditForm = new TCreditForm(this);
    PrinterSelForm = new TPrinterSelForm(this);
    HintForm = new THintForm(this);
    currentCountry_ = ocOesterreich;
    UpdateCountry(ocDeutschland);
    CountryBox->setCurrentIndex(ocDeutschland);
    Prefill();
}

void TBestellForm::Prefill() {
    const TRegistration registration = ReadRegistration();
    FirmaField->SetAsString(browser::AnsiToQt(registration.Organization));
    NameField->SetAsString(browser::AnsiToQt(registration.Owner));
}

int TBestellForm::Execute() {
    return util::ExecuteDialog(*this);
}

void TBestellForm::UpdateCountry(int country) {
    if (country == currentCountry_ || country < ocDeutschland || country > ocNichtEUAusland)
        return;
    currentCountry_ = country;
    VScheck->setChecked(true);
    const TCountryOffer& offer = kOffers[country];
    CreditForm->SetCardKinds(offer.austrianCards ? AustrianCardKinds() : CardKinds());
    const double* prices = OrderPrices[offer.currency];
    const auto priceText = [&offer](double price) {
        return QString::asprintf(offer.format, price);
    };
    DCDPriceLabel->setText(priceText(prices[arCD] + offer.cdSurcharge));
    AboPriceLabel->setText(priceText(prices[arAbo] + offer.aboSurcharge));
    FAQPriceLabel->setText(priceText(prices[arFAQ]));
    AboSel->setVisible(offer.aboOffered);
    AboPriceLabel->setVisible(offer.aboOffered);
    FAQSel->setVisible(offer.faqOffered);
    FAQPriceLabel->setVisible(offer.faqOffered);
    if (country == ocNichtEUAusland)
        util::ShowStandardMessage(this, QApplication::applicationName(),
                                  QStringLiteral("Achtung: Beim Verschicken in Nicht-EU-Länder "
                                                 "trägt der Empfänger die Zollkosten in voller "
                                                 "Höhe!"));
}

void TBestellForm::CountryBoxChange() {
    UpdateCountry(CountryBox->currentIndex());
}

void TBestellForm::PandexCDSelClick() {
    if (PandexCDSel->isChecked())
        AboSel->setChecked(false);
}

void TBestellForm::AboSelClick() {
    if (AboSel->isChecked())
        PandexCDSel->setChecked(false);
}

void TBestellForm::CashCheckClick(QRadioButton* sender) {
    for (QRadioButton* other : CashBox->findChildren<QRadioButton*>())
        if (other != sender)
            other->setChecked(false);
    if (sender == Kreditkarte)
        CreditForm->Execute();
}

void TBestellForm::KreditkarteDblClick(QRadioButton* sender) {
    if (sender == Kreditkarte)
        CreditForm->Execute();
}

bool TBestellForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Kreditkarte && event->type() == QEvent::MouseButtonDblClick) {
        KreditkarteDblClick(Kreditkarte);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TBestellForm::OpenHintBtnClick() {
    HintForm->exec();
}

TOrder TBestellForm::CurrentOrder() const {
    TOrder order;
    order.Country = static_cast<TOrderCountry>(currentCountry_);
    order.Articles[arCD] = {!PandexCDSel->isHidden(), PandexCDSel->isChecked(),
                            DCDPriceLabel->text()};
    order.Articles[arAbo] = {!AboSel->isHidden(), AboSel->isChecked(), AboPriceLabel->text()};
    order.Articles[arFAQ] = {!FAQSel->isHidden(), FAQSel->isChecked(), FAQPriceLabel->text()};
    order.CustomerNumber = KdNrField->AsString();
    order.Company = FirmaField->AsString();
    order.Name = NameField->AsString();
    order.Street = Streetfield->AsString();
    order.PostalCode = PLZField->AsString();
    order.City = VillageField->AsString();
    order.Telephone = TelField->AsString();
    order.Fax = FaxField->AsString();
    order.EMail = EMailField->AsString();
    order.Payment = Kreditkarte->isChecked() ? pyKreditkarte
                    : Nachnahme->isChecked() ? pyNachnahme
                    : Rechnung->isChecked()  ? pyRechnung
                                             : pyScheck;
    order.CardKind = CreditForm->CardKind();
    order.CardNumber = CreditForm->CardNumber();
    order.CardExpiry = CreditForm->CardExpiry();
    order.Remarks = HintForm->Lines();
    return order;
}

bool TBestellForm::ReadyForOutput() {
    if (entryfields::TEntryField* failed = Controller->ValidateEntryFields()) {
        failed->setFocus();
        return false;
    }
    if (Kreditkarte->isChecked() && CreditForm->CardKind().isEmpty()) {
        util::ExecuteMsgBox(QStringLiteral("Fehler"),
                            QStringLiteral("Bitte wählen Sie die Kreditkarte aus."));
        CreditForm->Execute();
        return false;
    }
    return true;
}

// A printer that fails is reported here; the form stays open for another try.
void TBestellForm::PrintBtnClick() {
    if (!ReadyForOutput() || PrinterSelForm->Execute() != util::mrOk)
        return;
    try {
        if (!util::PrinterReady(util::ProgramPrinter(), this))
            return;
        TPrinterSink sink(util::ProgramPrinter());
        ComposeOrder(CurrentOrder(), sink);
        sink.Finish();
    } catch (const util::EPrinter& error) {
        util::ExecuteMsgBox(QStringLiteral("Fehler"), browser::AnsiToQt(error.what()));
        return;
    }
    ShowMeldung(QStringLiteral("Das Bestellformular wurde zum Drucker gesendet"));
    accept();
}

void TBestellForm::ClipBrdBtnClick() {
    if (!ReadyForOutput())
        return;
    TClipboardSink sink;
    ComposeOrder(CurrentOrder(), sink);
    sink.Finish();
    ShowMeldung(QStringLiteral("Das Bestellformular wurde in die Zwischenablage kopiert"));
}

void TBestellForm::CancelBtnClick() {
    reject();
}

} // namespace order
