#include "order/PrinterSelForm.h"

#include "util/widgets/Controls.h"
#include "util/widgets/DialogButtons.h"
#include "util/widgets/MsgBox.h"
#include "util/widgets/Printing.h"

#include <QComboBox>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>

namespace order {

using util::Placed;

TPrinterSelForm::TPrinterSelForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PrinterSelForm"));
    setWindowTitle(QStringLiteral("Druckerauswahl"));
    setFixedSize(300, 116);
    Label1 = Placed(new QLabel(QStringLiteral("Zu benutzender Drucker:"), this), "Label1", 12, 10,
                    276, 17);
    PrinterComboBox = Placed(new QComboBox(this), "PrinterComboBox", 12, 30, 276, 24);
    PrinterComboBox->setEditable(true);
    PrinterComboBox->setInsertPolicy(QComboBox::NoInsert);
    Label1->setBuddy(PrinterComboBox);
    const util::TOkCancelButtons buttons = util::CreateOkCancelButtons(this, 108, 76);
    BitBtn1 = buttons.ok;
    BitBtn2 = buttons.cancel;
    connect(BitBtn1, &QPushButton::clicked, this, &TPrinterSelForm::BitBtn1Click);
    FormCreate();
    PrinterComboBox->setFocus();
}

void TPrinterSelForm::FormCreate() {
    PrinterComboBox->addItems(util::PrinterNames());
    if (PrinterComboBox->count() > 0)
        PrinterComboBox->setCurrentIndex(0);
}

int TPrinterSelForm::Execute() {
    return util::ExecuteDialog(*this);
}

// The list is editable: a typed name counts when it is one of the list's names.
void TPrinterSelForm::BitBtn1Click() {
    const QString name = PrinterComboBox->currentText();
    const int index = PrinterComboBox->findText(name, Qt::MatchFixedString);
    if (index < 0) {
        util::ExecuteMsgBox(QStringLiteral("Fehler"),
                            QStringLiteral("Der Drucker \"%1\" ist nicht eingerichtet.").arg(name));
        PrinterComboBox->setFocus();
        return;
    }
    const QString chosen = PrinterComboBox->itemText(index);
    QPrinter& printer = util::ProgramPrinter();
    const bool intoFile = chosen == util::PdfPrinterName();
    // Every order printed into a file asks for the file anew.
    if (intoFile)
        printer.setOutputFileName(QString());
    util::SelectPrinter(chosen);
    if (intoFile && !util::PrinterReady(printer, this))
        return;
    accept();
}

} // namespace order
