#include "terminal/TerminalForm.h"

#include "browser/AnsiText.h"
#include "browser/WindowFonts.h"
#include "comms/DialerDialog.h"
#include "comms/Modem.h"
#include "comms/ProtocolStatus.h"
#include "comms/TapiDevice.h"
#include "comms/TapiStatus.h"
#include "comms/Terminal.h"
#include "comms/TerminalEmulator.h"
#include "rtl/StrUtils.h"
#include "terminal/ComSetForm.h"
#include "terminal/MailboxLines.h"
#include "terminal/StatusLight.h"
#include "terminal/TelSelForm.h"
#include "terminal/TerminalGlyphs.h"
#include "util/AppSettings.h"
#include "util/RegKey.h"
#include "util/widgets/Controls.h"
#include "util/widgets/MsgBox.h"

#include <QCloseEvent>
#include <QFontDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QToolButton>
#include <algorithm>
#include <tuple>

namespace terminal {

using comms::TComPort;
using util::Named;
using util::Placed;

namespace {

const char* const kPortError = "Konnte ComPort nicht \xF6"
                               "ffnen!";
const QByteArray kZModemStart = QByteArrayLiteral("rz\r");
// How long a hang-up before closing the port may take: guard time, "+++", pauses, "ATH0".
constexpr int kHangUpWaitMs = 8000;
// The read limit of the modem strings (the modem keeps 255 characters of them).
constexpr std::uint32_t kModemStringReadLimit = 256;
constexpr std::int32_t kMinFontSize = 4;
constexpr std::int32_t kMaxFontSize = 72;

} // namespace

std::string FontStyleText(bool bold, bool italic) {
    return std::string(bold ? "fsBold" : "") + (italic ? "fsItalic" : "");
}

void ParseFontStyle(const std::string& text, bool& bold, bool& italic) {
    const std::string upper = rtl::UpperCaseAscii(text);
    bold = upper.find("FSBOLD") != std::string::npos;
    italic = upper.find("FSITALIC") != std::string::npos;
}

TTerminalForm::TTerminalForm(QWidget* parent) : QMainWindow(parent, Qt::Window) {
    setObjectName(QStringLiteral("TerminalForm"));
    setWindowTitle(QStringLiteral("Kestrova - Pandex CD-ROM  [Terminal]"));
    setFont(browser::MsSansSerif(11, false));
    CreateComponents();
    CreateButtonBar();
    CreateMenu();
    resize(kWidth, kHeight);
    CentreOnScreen();
    hangUpWait_.setSingleShot(true);
    connect(&hangUpWait_, &QTimer::timeout, this, &TTerminalForm::CloseAfterHangUp);
    FormCreate();
}

TTerminalForm::~TTerminalForm() {
    FormDestroy();
}

void TTerminalForm::CreateComponents() {
    ComPort = Named(new TComPort(this), "ComPort");
    ComPort->SetComNumber(1);
    ComPort->SetBaud(38400);
    ComPort->SetBufferFull(3686);
    ComPort->SetBufferResume(409);
    ComPort->SetTapiMode(comms::tmOff);
    connect(ComPort, &TComPort::TriggerData, this, &TTerminalForm::ComPortTriggerData);
    connect(ComPort, &TComPort::TriggerStatus, this, &TTerminalForm::ComPortTriggerStatus);

    Modem = Named(new comms::TModem(ComPort, this), "Modem");
    Modem->SetResponseText(comms::TModemResponse::NoCarrier, QStringLiteral("NO CONNECT"));
    Modem->SetDTERateLocked(true);
    Modem->SetCmdTimeout(180);

    TerminalEmulator = Named(new comms::TTerminalEmulator(this), "TerminalEmulator");
    DialerDialog = Named(new comms::TDialerDialog(Modem, this), "DialerDialog");

    ProtocolStatus = Named(new comms::TProtocolStatus(this), "ProtocolStatus");
    ProtocolStatus->setWindowFlag(Qt::Window);
    Protocol = Named(new comms::TProtocol(ComPort, this), "Protocol");
    Protocol->SetProtocolType(comms::ptZmodem);
    Protocol->SetDestinationDirectory(QStringLiteral("c:\\"));
    Protocol->SetFileMask(QStringLiteral("*.*"));
    Protocol->SetBlockCheckMethod(comms::bcmCrc32);
    Protocol->SetHandshakeWait(1092);
    Protocol->SetFinishWait(0);
    Protocol->SetOverhead(20);
    Protocol->SetZmodemRecover(true);
    Protocol->SetStatusDisplay(ProtocolStatus);
    connect(Protocol, &comms::TProtocol::ProtocolFinish, this,
            &TTerminalForm::ProtocolProtocolFinish);

    TapiStatus = Named(new comms::TTapiStatus(this), "TapiStatus");
    TapiStatus->setWindowFlag(Qt::Window);
    TapiDevice = Named(new comms::TTapiDevice(ComPort, this), "TapiDevice");
    TapiDevice->SetShowTapiDevices(true);
    TapiDevice->SetStatusDisplay(TapiStatus);
    connect(TapiDevice, &comms::TTapiDevice::TapiPortOpen, this,
            &TTerminalForm::TapiDeviceTapiPortOpen);
    connect(TapiDevice, &comms::TTapiDevice::TapiPortClose, this,
            &TTerminalForm::TapiDeviceTapiPortClose);
    connect(TapiDevice, &comms::TTapiDevice::TapiFail, this, &TTerminalForm::TapiDeviceTapiFail);

    FontDialog = Named(new QFontDialog(this), "FontDialog");
    FontDialog->setOptions(QFontDialog::MonospacedFonts | QFontDialog::DontUseNativeDialog);
}

void TTerminalForm::CreateButtonBar() {
    auto* client = new QWidget(this);
    setCentralWidget(client);
    ButtonBar = Named(new QWidget(client), "ButtonBar");
    TerminalPanel = Named(new QWidget(client), "TerminalPanel");
    TerminalPanel->setAutoFillBackground(true);
    struct ButtonDef {
        QToolButton** button;
        const char* name;
        const char* hint;
        TTerminalGlyph glyph;
        int left;
    };
    const ButtonDef buttons[] = {
        {&SBDialBtn, "SBDialBtn", "Mailbox anwählen", TTerminalGlyph::Dial, 4},
        {&SBHangUpBtn, "SBHangUpBtn", "Modem auflegen lassen", TTerminalGlyph::HangUp, 32},
        {&SBModemInitBtn, "SBModemInitBtn", "Modem initialisieren", TTerminalGlyph::ModemInit, 60},
        {&SBFontSelBtn, "SBFontSelBtn", "Wählt den Font für das Terminal aus", TTerminalGlyph::Font,
         96},
        {&SBSettingsBtn, "SBSettingsBtn", "Einstellungen für den Comport / Modem",
         TTerminalGlyph::Settings, 124},
        {&SBTAPIBtn, "SBTAPIBtn", "Einstellungen für die TAPI-Schnittstelle", TTerminalGlyph::Tapi,
         152},
        {&SBQuitBtn, "SBQuitBtn", "Terminalprogramm schließen", TTerminalGlyph::Quit, 188},
    };
    for (const ButtonDef& def : buttons) {
        auto* button =
            Placed(new QToolButton(ButtonBar), def.name, def.left, 4, kButtonSize, kButtonSize);
        button->setToolTip(QString::fromUtf8(def.hint));
        button->setIcon(TerminalGlyph(def.glyph));
        button->setIconSize(QSize(20, 20));
        button->setAutoRaise(true);
        *def.button = button;
    }
    SBTAPIBtn->setEnabled(false);
    connect(SBDialBtn, &QToolButton::clicked, this, &TTerminalForm::SBDialBtnClick);
    connect(SBHangUpBtn, &QToolButton::clicked, this, &TTerminalForm::SBHangUpBtnClick);
    connect(SBModemInitBtn, &QToolButton::clicked, this, &TTerminalForm::SBModemInitBtnClick);
    connect(SBFontSelBtn, &QToolButton::clicked, this, &TTerminalForm::SBFontSelBtnClick);
    connect(SBSettingsBtn, &QToolButton::clicked, this, &TTerminalForm::SBSettingsBtnClick);
    connect(SBTAPIBtn, &QToolButton::clicked, this, &TTerminalForm::MTTAPIClick);
    connect(SBQuitBtn, &QToolButton::clicked, this, &TTerminalForm::SBQuitBtnClick);

    OnlineLabel = Named(new QLabel(QStringLiteral("Online:"), ButtonBar), "OnlineLabel");
    OnlineLabel->adjustSize();
    DCDLight = Named(new TStatusLight(ButtonBar), "DCDLight");
    DCDLight->resize(16, 16);

    Terminal = Named(new comms::TTerminal(TerminalPanel), "Terminal");
    Terminal->SetComPort(ComPort);
    Terminal->SetEmulator(TerminalEmulator);
    Terminal->SetBlinkTime(550);
    Terminal->SetPersistentMarks(true);
    Terminal->SetHalfDuplex(false);
    Terminal->SetTerminalFont(QFont(QStringLiteral("Terminal"), 9));
    Terminal->SetDisplayColumns(80);
    Terminal->SetDisplayRows(24);
    QPalette panel = TerminalPanel->palette();
    panel.setColor(QPalette::Window, Qt::black);
    TerminalPanel->setPalette(panel);
}

void TTerminalForm::CreateMenu() {
    TerminalMenu = Named(menuBar()->addMenu(QStringLiteral("&Terminal")), "TerminalMenu");
    auto item = [this](const char* name, const QString& caption, const QString& shortcut,
                       QToolButton* twin) {
        QAction* action = Named(TerminalMenu->addAction(caption), name);
        if (!shortcut.isEmpty())
            action->setShortcut(QKeySequence(shortcut));
        action->setStatusTip(twin->toolTip());
        // The menu item runs its button's command.
        connect(action, &QAction::triggered, twin, [twin] { twin->click(); });
        return action;
    };
    MTModemInit = item("MTModemInit", QStringLiteral("Modem &Initialisieren"),
                       QStringLiteral("Alt+I"), SBModemInitBtn);
    MTDial = item("MTDial", QStringLiteral("&Wählen"), QStringLiteral("Alt+W"), SBDialBtn);
    MTHangUp = item("MTHangUp", QStringLiteral("&Aufhängen"), QStringLiteral("Alt+H"), SBHangUpBtn);
    TerminalMenu->addSeparator();
    MTFontSel = item("MTFontSel", QStringLiteral("&Schriftart wählen"), QStringLiteral("Alt+F"),
                     SBFontSelBtn);
    MTSettings = item("MTSettings", QStringLiteral("&Einstellungen"), QStringLiteral("Alt+S"),
                      SBSettingsBtn);
    MTTAPI = item("MTTAPI", QStringLiteral("&TAPI Einstellungen"), QString(), SBTAPIBtn);
    MTTAPI->setEnabled(false);
    TerminalMenu->addSeparator();
    MTClose = item("MTClose", QStringLiteral("&Beenden"), QStringLiteral("Alt+X"), SBQuitBtn);
}

void TTerminalForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    const QSize client = centralWidget()->size();
    ButtonBar->setGeometry(0, 0, client.width(), kButtonBarHeight);
    DCDLight->move(client.width() - DCDLight->width() - 10,
                   (kButtonBarHeight - DCDLight->height()) / 2);
    OnlineLabel->move(DCDLight->x() - OnlineLabel->width() - 6,
                      (kButtonBarHeight - OnlineLabel->height()) / 2);
    TerminalPanel->setGeometry(0, kButtonBarHeight, client.width(),
                               std::max(0, client.height() - kButtonBarHeight));
    Terminal->move(std::max(0, (TerminalPanel->width() - Terminal->width()) / 2),
                   std::max(0, (TerminalPanel->height() - Terminal->height()) / 2));
}

void TTerminalForm::FormCreate() {
    closing_ = false;
    zmodemTrigger_ = 0;
    if (!telSelForm_)
        telSelForm_ = new TTelSelForm(this);
    try {
        ProvideDemoDirectory();
    } catch (const std::exception&) {
        // Without a stored directory the demo numbers are merely not found when dialled.
    }
}

void TTerminalForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TTerminalForm::CentreOnScreen() {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

// The window is centred at the size the stored font gives it.
void TTerminalForm::FormShow() {
    LoadSettings();
    CentreOnScreen();
    if (!comSetForm_)
        comSetForm_ = new TComSetForm(this);
    if (firstStart_) {
        comSetForm_->FillPortList();
        comSetForm_->Execute();
    }
    closing_ = false;
    TryOpenPort();
}

void TTerminalForm::closeEvent(QCloseEvent* event) {
    closing_ = true;
    event->accept();
    SaveSettings();
}

void TTerminalForm::FormDestroy() {
    try {
        SaveSettings();
    } catch (const std::exception&) {
        // The program is ending; there is nobody left to tell.
    }
    disconnect(TapiDevice, &comms::TTapiDevice::TapiPortOpen, this, nullptr);
    disconnect(TapiDevice, &comms::TTapiDevice::TapiPortClose, this, nullptr);
    Terminal->SetActive(false);
    if (ComPort->TapiMode() == comms::tmOn)
        TapiDevice->CancelCall();
    try {
        ClosePort();
    } catch (const ETerminalError&) {
        // As above.
    }
    delete comSetForm_;
    comSetForm_ = nullptr;
    delete telSelForm_;
    telSelForm_ = nullptr;
}

void TTerminalForm::LoadSettings() {
    util::TRegKey key(platform::HKEY_LOCAL_MACHINE, util::kSettingsKeyPath, false);
    if (key.LastResult() != 0)
        return;
    try {
        ReadSettings(key);
    } catch (const std::exception&) {
        // What was read until the error stays applied; the rest keeps its current value.
    }
}

void TTerminalForm::ReadSettings(util::TRegKey& key) {
    firstStart_ = key.ReadInteger("FirstStart", 1) != 0;
    QFont font(browser::AnsiToQt(key.ReadString("FontName", "Terminal", 50)));
    // A damaged size must not make a window larger than any screen.
    font.setPointSize(std::clamp(key.ReadInteger("FontSize", 9), kMinFontSize, kMaxFontSize));
    bool bold = false;
    bool italic = false;
    ParseFontStyle(key.ReadString("FontStyle", "", 30), bold, italic);
    font.setBold(bold);
    font.setItalic(italic);
    Terminal->SetTerminalFont(font);
    FitToTerminal();
    Protocol->SetDestinationDirectory(
        browser::AnsiToQt(key.ReadString("ZModemDestinationDir", "c:\\", 256)));
    ComPort->SetTapiMode(rtl::UpperCaseAscii(key.ReadString("TAPIMode", "tmOff", 10)) == "TMOFF"
                             ? comms::tmOff
                             : comms::tmOn);
    TapiDevice->SetSelectedDevice(browser::AnsiToQt(key.ReadString("TAPIDevice", "", 500)));
    ComPort->SetComNumber(key.ReadInteger("ComNumber", 1));
    ComPort->SetBaud(key.ReadInteger("BaudRate", 38400));
    Modem->SetInitCmd(
        browser::AnsiToQt(key.ReadString("ModemInitString", "ATZ^M", kModemStringReadLimit)));
    Modem->SetDialCmd(
        browser::AnsiToQt(key.ReadString("ModemDialString", "ATDT", kModemStringReadLimit)));
}

void TTerminalForm::SaveSettings() {
    util::TRegKey key(platform::HKEY_LOCAL_MACHINE, util::kSettingsKeyPath, true);
    if (key.LastResult() != 0)
        return;
    key.WriteString("ZModemDestinationDir", browser::QtToAnsi(Protocol->DestinationDirectory()));
    key.WriteInteger("FirstStart", 0);
    key.WriteString("TAPIMode", ComPort->TapiMode() == comms::tmOff ? "tmOff" : "tmOn");
    key.WriteString("TAPIDevice", browser::QtToAnsi(TapiDevice->SelectedDevice()));
    key.WriteInteger("ComNumber", ComPort->ComNumber());
    key.WriteInteger("BaudRate", ComPort->Baud());
    key.WriteString("ModemInitString", browser::QtToAnsi(Modem->InitCmd()));
    key.WriteString("ModemDialString", browser::QtToAnsi(Modem->DialCmd()));
    const QFont font = Terminal->TerminalFont();
    key.WriteString("FontName", browser::QtToAnsi(font.family()));
    key.WriteInteger("FontSize", font.pointSize());
    key.WriteString("FontStyle", FontStyleText(font.bold(), font.italic()));
    key.Close();
}

// The terminal keeps its 80 x 24 cells and takes its size from its font; the window follows it.
void TTerminalForm::FitToTerminal() {
    resize(Terminal->width() + 15, Terminal->height() + 90);
}

void TTerminalForm::OpenPort() {
    if (ComPort->Open())
        return;
    try {
        if (ComPort->TapiMode() == comms::tmOff) {
            ComPort->SetOpen(true);
            InstallTriggers();
            Terminal->SetActive(true);
            Modem->Initialize();
        } else if (TapiDevice->CancelCall()) {
            TapiDevice->OpenDirect();
        }
    } catch (const std::exception& error) {
        throw ETerminalError(kPortError, error.what());
    }
    if (ComPort->Open())
        Terminal->SetActive(true);
}

void TTerminalForm::ClosePort() {
    if (!ComPort->Open())
        return;
    try {
        RemoveTriggers();
        if (ComPort->TapiMode() == comms::tmOff)
            ComPort->SetOpen(false);
        else if (!closing_)
            TapiDevice->CancelCall();
    } catch (const std::exception& error) {
        throw ETerminalError(kPortError, error.what());
    }
}

bool TTerminalForm::TryOpenPort() {
    try {
        OpenPort();
        return true;
    } catch (const ETerminalError& error) {
        ShowPortError(error);
        return false;
    }
}

void TTerminalForm::ShowPortError(const ETerminalError& error) {
    util::ExecuteMsgBox(QStringLiteral("Terminal"), browser::AnsiToQt(error.Message()) +
                                                        QLatin1Char('\n') +
                                                        browser::AnsiToQt(error.Reason()));
}

// Any triggers installed before are replaced, so that dialling again never leaves a second
// trigger of either kind behind.
void TTerminalForm::InstallTriggers() {
    RenewZModemTrigger();
    if (carrierTrigger_ != 0)
        ComPort->RemoveTrigger(carrierTrigger_);
    carrierTrigger_ = ComPort->AddStatusTrigger();
    ComPort->SetStatusTrigger(carrierTrigger_, comms::msDCD, true);
}

void TTerminalForm::RenewZModemTrigger() {
    DropZModemTrigger();
    zmodemTrigger_ = ComPort->AddDataTrigger(kZModemStart);
}

void TTerminalForm::DropZModemTrigger() {
    if (zmodemTrigger_ != 0)
        ComPort->RemoveTrigger(zmodemTrigger_);
    zmodemTrigger_ = 0;
}

void TTerminalForm::RemoveTriggers() {
    ComPort->RemoveAllTriggers();
    zmodemTrigger_ = 0;
    carrierTrigger_ = 0;
}

void TTerminalForm::SetOnline(bool on) {
    DCDLight->SetLit(on);
    for (QToolButton* button : {SBSettingsBtn, SBModemInitBtn, SBDialBtn})
        button->setEnabled(!on);
    for (QAction* item : {MTSettings, MTModemInit, MTDial})
        item->setEnabled(!on);
}

void TTerminalForm::ComPortTriggerStatus(TComPort* port, std::uint16_t handle) {
    if (handle != carrierTrigger_ || carrierTrigger_ == 0)
        return;
    SetOnline(port->DCD());
    port->SetStatusTrigger(carrierTrigger_, comms::msDCD, true);
    if (closeAfterHangUp_ && !port->DCD())
        QTimer::singleShot(0, this, &TTerminalForm::CloseAfterHangUp);
}

void TTerminalForm::ComPortTriggerData(TComPort*, std::uint16_t handle) {
    if (zmodemTrigger_ != 0 && zmodemTrigger_ == handle)
        StartDownload(comms::ptZmodem);
}

void TTerminalForm::StartDownload(comms::TProtocolType kind) {
    Protocol->SetProtocolType(kind);
    DropZModemTrigger();
    Terminal->SetActive(false);
    Protocol->StartReceive();
}

void TTerminalForm::ProtocolProtocolFinish() {
    if (ComPort->Open())
        RenewZModemTrigger();
    Terminal->SetActive(true);
    Terminal->setFocus();
}

void TTerminalForm::SBDialBtnClick() {
    if (!TryOpenPort())
        return;
    if (telSelForm_->Execute() != util::mrOk)
        return;
    const QString number = telSelForm_->TelNumField->text();
    if (ComPort->TapiMode() == comms::tmOn) {
        dialPending_ = true;
        if (TapiDevice->CancelCall()) {
            TapiDevice->Dial(number);
            InstallTriggers();
        }
        return;
    }
    // Every call gets its own triggers: a hang-up removed the ZModem trigger of the last one.
    InstallTriggers();
    Terminal->SetActive(true);
    DialerDialog->SetPhoneNumber(number);
    DialerDialog->Execute();
}

void TTerminalForm::SBHangUpBtnClick() {
    DropZModemTrigger();
    if (ComPort->TapiMode() == comms::tmOn)
        TapiDevice->CancelCall();
    else
        Modem->HangUp();
}

void TTerminalForm::SBModemInitBtnClick() {
    if (!TryOpenPort() || ComPort->TapiMode() != comms::tmOff)
        return;
    try {
        Terminal->SetActive(true);
        Modem->Initialize();
        Terminal->setFocus();
    } catch (const std::exception&) {
        // A modem that does not take its initialisation is noticed by the user on the screen.
    }
}

void TTerminalForm::SBSettingsBtnClick() {
    const auto line = [this] {
        return std::make_tuple(ComPort->TapiMode(), ComPort->ComNumber(), ComPort->Baud(),
                               TapiDevice->SelectedDevice());
    };
    const auto before = line();
    if (!ShowSettings())
        return;
    // A port chosen anew takes the place of the open one (settings are only offered offline).
    if (line() != before) {
        try {
            ClosePort();
        } catch (const ETerminalError& error) {
            ShowPortError(error);
        }
    }
    TryOpenPort();
}

bool TTerminalForm::ShowSettings() {
    TapiDevice->SetShowTapiDevices(true);
    if (!comSetForm_)
        comSetForm_ = new TComSetForm(this);
    const bool confirmed = comSetForm_->Execute() == util::mrOk;
    const bool telephony = ComPort->TapiMode() == comms::tmOn;
    MTTAPI->setEnabled(telephony);
    SBTAPIBtn->setEnabled(telephony);
    return confirmed;
}

void TTerminalForm::MTTAPIClick() {
    try {
        TapiDevice->ShowConfigDialog(this);
    } catch (const std::exception&) {
        // The configuration dialog reports its own problems; nothing to add here.
    }
}

void TTerminalForm::SBFontSelBtnClick() {
    FontDialog->setCurrentFont(Terminal->TerminalFont());
    if (FontDialog->exec() == QDialog::Accepted) {
        const QFont chosen = FontDialog->selectedFont();
        QFont font(chosen.family());
        font.setPointSize(chosen.pointSize() > 0 ? chosen.pointSize() : 9);
        font.setBold(chosen.bold());
        font.setItalic(chosen.italic());
        Terminal->SetTerminalFont(font);
    }
    SaveSettings();
    FitToTerminal();
}

void TTerminalForm::SBQuitBtnClick() {
    if (!DCDLight->Lit()) {
        close();
        return;
    }
    util::TMsgBox box;
    box.SetButtons(util::msgYesNoCancel);
    box.SetMsg(QStringLiteral("Soll die Verbindung getrennt werden?"));
    box.SetCaption(QStringLiteral("Verbindung steht noch!"));
    const int answer = box.Execute();
    if (answer == util::mrCancel)
        return;
    if (answer == util::mrYes) {
        if (ComPort->TapiMode() == comms::tmOff) {
            HangUpThenClose();
        } else {
            TapiDevice->CancelCall();
        }
        SetOnline(false);
    }
    close();
}

void TTerminalForm::HangUpThenClose() {
    Modem->HangUp();
    closeAfterHangUp_ = true;
    hangUpWait_.start(kHangUpWaitMs);
}

void TTerminalForm::CloseAfterHangUp() {
    if (!closeAfterHangUp_)
        return;
    closeAfterHangUp_ = false;
    hangUpWait_.stop();
    try {
        ClosePort();
    } catch (const ETerminalError&) {
        // The window is closed by now; the port is opened anew with the next show.
    }
}

void TTerminalForm::TapiDeviceTapiPortOpen() {
    if (dialPending_) {
        InstallTriggers();
        SetOnline(true);
        dialPending_ = false;
        return;
    }
    if (ComPort->TapiMode() == comms::tmOff)
        Modem->SetActive(true);
    Terminal->SetActive(true);
}

void TTerminalForm::TapiDeviceTapiPortClose() {
    SetOnline(false);
    if (dialPending_)
        QMetaObject::invokeMethod(this, &TTerminalForm::TapiRetry, Qt::QueuedConnection);
}

void TTerminalForm::TapiDeviceTapiFail() {
    dialPending_ = false;
    QMetaObject::invokeMethod(this, &TTerminalForm::TapiFailed, Qt::QueuedConnection);
}

void TTerminalForm::TapiRetry() {
    if (dialPending_)
        TapiDevice->Dial(telSelForm_->TelNumField->text());
}

void TTerminalForm::TapiFailed() {
    RemoveTriggers();
    if (closing_)
        return;
    SetOnline(false);
    TapiDevice->OpenDirect();
}

} // namespace terminal
