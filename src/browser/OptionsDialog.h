// TOptionsDialog: edits the default destination folder for installing components, whether
// tooltips show, and the date after which catalogue entries count as new. The program creates it
// once; the options command (OptionsCommand.h) fills it from the settings before every showing
// and takes its values back only when it ends with OK.
#pragma once

#include <QDialog>
#include <QString>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace entryfields {
class TEntryController;
class TEntryField;
class TPictureField;
class TUserData;
} // namespace entryfields

namespace browser {

class TOptionsDialog : public QDialog {
    Q_OBJECT

public:
    explicit TOptionsDialog(QWidget* parent = nullptr);
    ~TOptionsDialog() override;

    // The three values; writing changes a control only when the value differs.
    QString DefaultDest() const;
    void SetDefaultDest(const QString& value);
    bool HintsOn() const;
    void SetHintsOn(bool value);
    QString UpdateDateText() const;
    void SetUpdateDateText(const QString& value);

    // Shows the dialog modally: 1 OK, 2 Cancel.
    int Execute();

    // The date field's events: a text that is no date is error 259, which shows the message.
    void UpdateDatumFieldUserValidation(entryfields::TEntryField& sender, int& errorCode);
    void UpdateDatumFieldError(entryfields::TEntryField& sender, int errorCode,
                               const QString& errorText);

    QLabel* DefaultDestLabel;
    QLineEdit* DefaultDestEdit;
    QCheckBox* HintsCheckBox;
    QLabel* UpdateLabel;
    entryfields::TPictureField* UpdateDatumField;
    entryfields::TEntryController* OvcController;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void FormDestroy();
    // Closes with OK only when the date is valid and the folder can be stored.
    void OKBtnClick();

    std::unique_ptr<entryfields::TUserData> userData_;
};

} // namespace browser
