// TSearchdlg: the modal dialog in which the user types the search expression and chooses
// whether case matters. It lives for the whole run and keeps the last expression; the two result
// fields change only when the dialog is confirmed.
#pragma once

#include <QDialog>
#include <string>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace search {

class TSearchdlg : public QDialog {
    Q_OBJECT

public:
    explicit TSearchdlg(QWidget* parent = nullptr);

    // Shows the dialog modally; 1 for OK, 2 otherwise.
    int Execute();

    // The expression exactly as typed (Windows-1252), and the check box, as last confirmed.
    std::string SearchText;
    bool CaseSensitive = false;

    QFrame* Bevel1;
    QLabel* Label1;
    QLineEdit* SearchEdit;
    QLabel* SHintLabel1;
    QLabel* SHintLabel2;
    QCheckBox* CaseSensiBox;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void OKBtnClick();
};

} // namespace search
