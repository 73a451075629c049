// TTelSelForm: the number dialog. It offers the mailbox lines and puts the chosen line's number
// into TelNumField, where the user may also type a number: only digits, "#", "*" and "," are
// taken (with Backspace and Enter); every other character typed is swallowed.
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace terminal {

class TTelSelForm : public QDialog {
    Q_OBJECT

public:
    explicit TTelSelForm(QWidget* parent = nullptr);

    // Shows the dialog modally: 1 OK, 2 Cancel.
    int Execute();

    QLabel* TelNumLabel;
    QLineEdit* TelNumField;
    QLabel* BBSLinesLabel;
    QComboBox* BBSLinesBox;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void BBSLinesBoxChange();
};

} // namespace terminal
