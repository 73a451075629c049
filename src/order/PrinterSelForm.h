// TPrinterSelForm: the printer for the printed order: the installed printers in the printing
// system's order, and always, last, the PDF output ("PDF-Datei"), which asks for the file to
// print into. OK makes the chosen printer the program's printer.
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace order {

class TPrinterSelForm : public QDialog {
    Q_OBJECT

public:
    explicit TPrinterSelForm(QWidget* parent = nullptr);

    // Shows the dialog modally: 1 OK, 2 Cancel.
    int Execute();

    // Makes the chosen printer the program's printer; for the PDF output the file name is asked
    // for first. The dialog stays open when no file is chosen or the name is no printer of the
    // list.
    void BitBtn1Click();

    QLabel* Label1;
    QComboBox* PrinterComboBox;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

private:
    void FormCreate();
};

} // namespace order
