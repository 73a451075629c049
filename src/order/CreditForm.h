// TCreditForm: the credit card of an order: its kind, number and expiry month. The order form
// sets the card kinds; the number takes 15 digits for American Express (the third kind) and 16
// for the others. OK refuses a card whose month has passed.
#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QPushButton;

namespace entryfields {
class TDateField;
class TEntryController;
class TPictureField;
} // namespace entryfields

namespace order {

class TRadioGroup;

class TCreditForm : public QDialog {
    Q_OBJECT

public:
    explicit TCreditForm(QWidget* parent = nullptr);

    // Shows the dialog modally: 1 OK, 2 Cancel.
    int Execute();

    // Replaces the card kinds; none is chosen afterwards.
    void SetCardKinds(const QStringList& kinds);
    // The chosen kind's caption (empty for none), the number and the expiry as the fields show
    // them.
    QString CardKind() const;
    QString CardNumber() const;
    QString CardExpiry() const;

    void KreditkartenBoxClick();
    // Validates the fields, then the expiry: only a card valid until today or later closes the
    // dialog with OK.
    void BitBtn1Click();

    TRadioGroup* KreditkartenBox;
    QLabel* KartNrLabel;
    entryfields::TPictureField* KartNrField;
    QLabel* KartDateLabel;
    entryfields::TDateField* KartDateField;
    entryfields::TEntryController* Controller;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
};

// The card kinds, and for Österreich the first two with "&Visa" as the second.
QStringList CardKinds();
QStringList AustrianCardKinds();

} // namespace order
