// TBestellForm: the order form. The user orders the catalogue CD, its subscription and the FAQ
// diskette, chooses the country of delivery (currency, prices and what is offered), enters the
// delivery address, chooses the payment and adds remarks; the order is printed on one page or
// copied to the clipboard. The main window creates a form for each order (OrderCommand.h).
#pragma once

#include "order/OrderComposer.h"

#include <QDialog>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace entryfields {
class TEntryController;
class TPictureField;
class TSimpleField;
} // namespace entryfields

namespace util {
class TMLHint;
}

namespace order {

class TCreditForm;
class THintForm;
class TPrinterSelForm;

// The prices of the articles (CD, subscription, FAQ diskette) in the three currencies.
inline constexpr double OrderPrices[3][3] = {
    {39.80, 99.00, 9.95},    // DM
    {340.00, 990.00, 98.00}, // öS
    {39.80, 99.00, 0.00},    // Fr
};

class TBestellForm : public QDialog {
    Q_OBJECT

public:
    explicit TBestellForm(QWidget* parent = nullptr);
    ~TBestellForm() override;

    // Shows the form modally until it is closed.
    int Execute();

    // Prices, offers, payment and card kinds for a country; nothing when it is the current one.
    void UpdateCountry(int country);
    int CurrentCountry() const { return currentCountry_; }
    // The order as the form and its dialogs hold it now.
    TOrder CurrentOrder() const;

    void CountryBoxChange();
    void PandexCDSelClick();
    void AboSelClick();
    void CashCheckClick(QRadioButton* sender);
    void KreditkarteDblClick(QRadioButton* sender);
    void OpenHintBtnClick();
    void PrintBtnClick();
    void ClipBrdBtnClick();
    void CancelBtnClick();

    QGroupBox* ProduktBox;
    QCheckBox* PandexCDSel;
    QCheckBox* AboSel;
    QCheckBox* FAQSel;
    QLabel* DCDPriceLabel;
    QLabel* AboPriceLabel;
    QLabel* FAQPriceLabel;
    QGroupBox* AdressBox;
    QComboBox* CountryBox;
    entryfields::TPictureField* KdNrField;
    entryfields::TSimpleField* FirmaField;
    entryfields::TSimpleField* NameField;
    entryfields::TSimpleField* Streetfield;
    entryfields::TPictureField* PLZField;
    entryfields::TSimpleField* VillageField;
    entryfields::TSimpleField* TelField;
    entryfields::TSimpleField* FaxField;
    entryfields::TSimpleField* EMailField;
    QGroupBox* CashBox;
    QRadioButton* VScheck;
    QRadioButton* Nachnahme;
    QRadioButton* Kreditkarte;
    QRadioButton* Rechnung;
    QPushButton* OpenHintBtn;
    QPushButton* PrintBtn;
    QPushButton* ClipBrdBtn;
    QPushButton* CancelBtn;
    entryfields::TEntryController* Controller;
    util::TMLHint* MLHints;

    TCreditForm* CreditForm;
    TPrinterSelForm* PrinterSelForm;
    THintForm* HintForm;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateProducts();
    void CreateAddress();
    void CreatePayment();
    void CreateButtons();
    void FormCreate();
    void Prefill();
    // Validates the fields (the first failing one gets the focus) and the card kind of a card
    // payment (without one the card dialog opens): true when the order may go out.
    bool ReadyForOutput();

    int currentCountry_ = ocOesterreich;
};

} // namespace order
