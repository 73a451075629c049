#include "terminal/TelSelForm.h"

#include "terminal/MailboxLines.h"
#include "util/widgets/Controls.h"
#include "util/widgets/DialogButtons.h"
#include "util/widgets/MsgBox.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace terminal {

using util::Placed;

namespace {

bool AcceptedInNumber(const QString& text) {
    static const QString kAccepted = QStringLiteral("0123456789#*,\b\r\n");
    return text.size() == 1 && kAccepted.contains(text[0]);
}

} // namespace

TTelSelForm::TTelSelForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TelSelForm"));
    setWindowTitle(QStringLiteral("Telefonnummer auswählen"));
    setFixedSize(300, 150);
    BBSLinesLabel =
        Placed(new QLabel(QStringLiteral("Kestrova BBS:"), this), "BBSLinesLabel", 12, 10, 276, 17);
    BBSLinesBox = Placed(new QComboBox(this), "BBSLinesBox", 12, 28, 276, 24);
    BBSLinesLabel->setBuddy(BBSLinesBox);
    TelNumLabel =
        Placed(new QLabel(QStringLiteral("Telefonnummer:"), this), "TelNumLabel", 12, 60, 276, 17);
    TelNumField = Placed(new QLineEdit(this), "TelNumField", 12, 78, 276, 24);
    TelNumLabel->setBuddy(TelNumField);
    TelNumField->installEventFilter(this);
    const util::TOkCancelButtons buttons = util::CreateOkCancelButtons(this, 108, 114);
    BitBtn1 = buttons.ok;
    BitBtn2 = buttons.cancel;
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BBSLinesBox, &QComboBox::activated, this, &TTelSelForm::BBSLinesBoxChange);
    FormCreate();
}

void TTelSelForm::FormCreate() {
    for (const TMailboxLine& line : kMailboxLines)
        BBSLinesBox->addItem(QString::fromLatin1(line.caption));
    BBSLinesBox->setCurrentIndex(0);
    BBSLinesBoxChange();
}

void TTelSelForm::BBSLinesBoxChange() {
    const int index = BBSLinesBox->currentIndex();
    if (index >= 0 && index < static_cast<int>(kMailboxLines.size()))
        TelNumField->setText(QString::fromLatin1(kMailboxLines[index].number));
}

int TTelSelForm::Execute() {
    return util::ExecuteDialog(*this);
}

// Keys that type a character are filtered; keys without one (arrows, Delete) move and edit.
bool TTelSelForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == TelNumField && event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (!text.isEmpty() && !AcceptedInNumber(text))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace terminal
