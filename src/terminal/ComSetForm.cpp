#include "terminal/ComSetForm.h"

#include "comms/ComPort.h"
#include "comms/Modem.h"
#include "comms/Protocol.h"
#include "comms/TapiDevice.h"
#include "terminal/DirectoryList.h"
#include "terminal/TermWaitForm.h"
#include "terminal/TerminalForm.h"
#include "util/widgets/Controls.h"
#include "util/widgets/DialogButtons.h"
#include "util/widgets/MsgBox.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <memory>

namespace terminal {

using util::Placed;

namespace {

const QStringList kSpeeds = {QStringLiteral("2400"),  QStringLiteral("4800"),
                             QStringLiteral("9600"),  QStringLiteral("19200"),
                             QStringLiteral("38400"), QStringLiteral("57600"),
                             QStringLiteral("115200")};

QString PortEntry(int number) {
    return QStringLiteral("Com%1").arg(number);
}

QLabel* Caption(QWidget* parent, const char* name, const QString& text, int left, int top,
                QWidget* buddy) {
    auto* label = Placed(new QLabel(text, parent), name, left, top, 160, 17);
    label->setBuddy(buddy);
    return label;
}

// Sets the port's number back to the remembered one however the test ends.
class ComNumberKeeper {
public:
    explicit ComNumberKeeper(comms::TComPort& port) : port_(port), number_(port.ComNumber()) {}
    ~ComNumberKeeper() { port_.SetComNumber(number_); }
    ComNumberKeeper(const ComNumberKeeper&) = delete;
    ComNumberKeeper& operator=(const ComNumberKeeper&) = delete;
    int Number() const { return number_; }

private:
    comms::TComPort& port_;
    int number_;
};

} // namespace

TComSetForm::TComSetForm(TTerminalForm* terminalForm)
    : QDialog(terminalForm), terminalForm_(terminalForm) {
    setObjectName(QStringLiteral("ComSetForm"));
    setWindowTitle(QStringLiteral("Terminal - Einstellungen"));
    CreateControls();
    FormCreate();
}

void TComSetForm::CreateControls() {
    ComportBox = Placed(new QComboBox(this), "ComportBox", 12, 30, 150, 24);
    ComportLabel = Caption(this, "ComportLabel", QStringLiteral("&Comport:"), 12, 12, ComportBox);
    BaudBox = Placed(new QComboBox(this), "BaudBox", 176, 30, 110, 24);
    BaudLabel = Caption(this, "BaudLabel", QStringLiteral("&Baudrate:"), 176, 12, BaudBox);
    ModemInitStringEdit = Placed(new QLineEdit(this), "ModemInitStringEdit", 12, 80, 274, 24);
    ModemInitLabel = Caption(this, "ModemInitLabel", QStringLiteral("&ModemInitString:"), 12, 62,
                             ModemInitStringEdit);
    DialStringEdit = Placed(new QLineEdit(this), "DialStringEdit", 12, 130, 274, 24);
    DialStringLabel =
        Caption(this, "DialStringLabel", QStringLiteral("&WählString:"), 12, 112, DialStringEdit);
    for (QLineEdit* edit : {ModemInitStringEdit, DialStringEdit})
        edit->setMaxLength(comms::TModem::kMaxCommandLength);
    DestDirEdit = Placed(new QLineEdit(this), "DestDirEdit", 12, 180, 248, 24);
    DestDirLabel =
        Caption(this, "DestDirLabel", QStringLiteral("Downloadverzeichnis:"), 12, 162, DestDirEdit);
    SizeBtn = Placed(new QPushButton(QStringLiteral("..."), this), "SizeBtn", 262, 180, 24, 24);
    const util::TOkCancelButtons buttons = util::CreateOkCancelButtons(this, 106, 222);
    BitBtn1 = buttons.ok;
    BitBtn2 = buttons.cancel;
    DirBox =
        Placed(new QGroupBox(QStringLiteral(" Verzeichnisse "), this), "DirBox", 300, 8, 220, 242);
    DriveComboBox1 = Placed(new TDriveComboBox(DirBox), "DriveComboBox1", 10, 22, 200, 24);
    DirList = Placed(new TDirectoryList(DirBox), "DirList", 10, 52, 200, 180);
    DriveComboBox1->SetDirList(DirList);
    DirBox->hide();
    setFixedSize(SizeBtn->geometry().right() + 1 + kMargin, 262);

    connect(BitBtn1, &QPushButton::clicked, this, &TComSetForm::BitBtn1Click);
    connect(SizeBtn, &QPushButton::clicked, this, &TComSetForm::SizeBtnClick);
    connect(DirList, &TDirectoryList::DirectoryChanged, this, &TComSetForm::DirChange);
    connect(DriveComboBox1, &TDriveComboBox::DriveChanged, this, &TComSetForm::DirChange);
}

void TComSetForm::FormCreate() {
    ApplyComponents();
}

int TComSetForm::Execute() {
    return util::ExecuteDialog(*this);
}

void TComSetForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TComSetForm::FormShow() {
    if (ComportBox->count() == 0)
        FillPortList();
    ApplyComponents();
}

void TComSetForm::ApplyComponents() {
    BaudBox->clear();
    BaudBox->addItems(kSpeeds);
    BaudBox->setCurrentIndex(BaudBox->findText(QString::number(terminalForm_->ComPort->Baud())));
    ModemInitStringEdit->setText(terminalForm_->Modem->InitCmd());
    DialStringEdit->setText(terminalForm_->Modem->DialCmd());
    DirList->SetDirectory(terminalForm_->Protocol->DestinationDirectory());
}

void TComSetForm::FillPortList() {
    auto waitForm = std::make_unique<TTermWaitForm>(this);
    waitForm->show();
    const ComNumberKeeper remembered(*terminalForm_->ComPort);
    terminalForm_->ClosePort();
    ComportBox->clear();
    TestPorts(*waitForm);
    for (int number = 1; number <= kPortsTested; ++number)
        if (portUsable_[number - 1])
            ComportBox->addItem(PortEntry(number));
    serialPortCount_ = ComportBox->count();
    AppendLineDevices();
    if (ComportBox->count() > 0) {
        const int index = ComportBox->findText(PortEntry(remembered.Number()));
        ComportBox->setCurrentIndex(index >= 0 ? index : 0);
    }
    if (terminalForm_->ComPort->TapiMode() == comms::tmOn &&
        !terminalForm_->TapiDevice->SelectedDevice().isEmpty())
        ComportBox->setCurrentIndex(
            ComportBox->findText(terminalForm_->TapiDevice->SelectedDevice()));
}

void TComSetForm::TestPorts(TTermWaitForm& waitForm) {
    for (int number = 1; number <= kPortsTested; ++number) {
        terminalForm_->ComPort->SetComNumber(number);
        waitForm.ShowPort(number);
        try {
            terminalForm_->ComPort->SetOpen(true);
            portUsable_[number - 1] = true;
            terminalForm_->ComPort->SetOpen(false);
        } catch (const std::exception&) {
            portUsable_[number - 1] = false;
        }
    }
}

void TComSetForm::AppendLineDevices() {
    try {
        comms::TTapiDeviceSelection selection(this);
        if (terminalForm_->TapiDevice->ShowTapiDevices()) {
            selection.SetShowTapiDevices(true);
            selection.EnumerateDevices();
            ComportBox->addItems(selection.DeviceList());
        }
    } catch (const std::exception&) {
        // The serial ports alone are offered.
    }
}

void TComSetForm::BitBtn1Click() {
    terminalForm_->Protocol->SetDestinationDirectory(DestDirEdit->text());
    const int index = ComportBox->currentIndex();
    if (index > serialPortCount_ - 1) {
        terminalForm_->ComPort->SetTapiMode(comms::tmOn);
        terminalForm_->TapiDevice->SetSelectedDevice(ComportBox->currentText());
        accept();
        return;
    }
    terminalForm_->ComPort->SetTapiMode(comms::tmOff);
    // An empty port list offers no port: the number stays as it was.
    if (index >= 0)
        terminalForm_->ComPort->SetComNumber(ComportBox->currentText().mid(3).toInt());
    bool valid = false;
    const int baud = BaudBox->currentText().toInt(&valid);
    if (valid)
        terminalForm_->ComPort->SetBaud(baud);
    terminalForm_->Modem->SetInitCmd(ModemInitStringEdit->text());
    terminalForm_->Modem->SetDialCmd(DialStringEdit->text());
    accept();
}

void TComSetForm::SizeBtnClick() {
    if (DirBox->isHidden()) {
        setFixedWidth(DirBox->x() + DirBox->width() + kMargin);
        DirBox->show();
    } else {
        DirBox->hide();
        setFixedWidth(SizeBtn->x() + SizeBtn->width() + kMargin);
    }
}

void TComSetForm::DirChange() {
    DestDirEdit->setText(DirList->Directory());
}

} // namespace terminal
