// TTerminalForm: the terminal window that calls the maker's mailbox, through a modem on a serial
// port or over a line device, shows the mailbox in an 80 x 24 terminal, shows whether the line is
// online and receives files with ZModem when the mailbox starts a send ("rz" CR). Port, speed,
// modem strings, download folder, line device and font are kept in the registry.
//
// The window is created once and kept; closing it only hides it (the port stays open unless the
// user chose to hang up). A port that cannot be opened is reported in a message box with the
// reason, never dropped.
#pragma once

#include "comms/ComPort.h"
#include "comms/Protocol.h"
#include "rtl/Exceptions.h"

#include <QMainWindow>
#include <QTimer>
#include <cstdint>
#include <string>

class QAction;
class QFontDialog;
class QLabel;
class QMenu;
class QToolButton;

namespace comms {
class TDialerDialog;
class TModem;
class TProtocolStatus;
class TTapiDevice;
class TTapiStatus;
class TTerminal;
class TTerminalEmulator;
} // namespace comms

namespace util {
class TRegKey;
}

namespace terminal {

class TComSetForm;
class TStatusLight;
class TTelSelForm;

// "Konnte ComPort nicht öffnen!", with the reason the port or line gave (Windows-1252).
class ETerminalError : public rtl::Exception {
public:
    ETerminalError(std::string message, std::string reason)
        : rtl::Exception(std::move(message)), reason_(std::move(reason)) {}
    const std::string& Reason() const { return reason_; }

private:
    std::string reason_;
};

// The style text stored for a font: "fsBold", "fsItalic", both ("fsBold" first) or empty.
std::string FontStyleText(bool bold, bool italic);
// Bold and italic from a stored style text, compared without regard to case.
void ParseFontStyle(const std::string& text, bool& bold, bool& italic);

class TTerminalForm : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kWidth = 654;
    static constexpr int kHeight = 393;
    static constexpr int kButtonBarHeight = 37;
    static constexpr int kButtonSize = 28;

    explicit TTerminalForm(QWidget* parent = nullptr);
    ~TTerminalForm() override;

    void OpenPort();
    void ClosePort();
    void InstallTriggers();
    void SetOnline(bool on);
    void StartDownload(comms::TProtocolType kind);
    bool ShowSettings();
    void LoadSettings();
    void SaveSettings();

    void SBDialBtnClick();
    void SBHangUpBtnClick();
    void SBModemInitBtnClick();
    void SBFontSelBtnClick();
    void SBSettingsBtnClick();
    void MTTAPIClick();
    void SBQuitBtnClick();

    std::uint16_t ZModemTrigger() const { return zmodemTrigger_; }
    bool Closing() const { return closing_; }
    bool FirstStart() const { return firstStart_; }
    bool DialPending() const { return dialPending_; }
    TComSetForm* ComSetForm() const { return comSetForm_; }
    TTelSelForm* TelSelForm() const { return telSelForm_; }

    QToolButton* SBDialBtn;
    QToolButton* SBHangUpBtn;
    QToolButton* SBModemInitBtn;
    QToolButton* SBFontSelBtn;
    QToolButton* SBSettingsBtn;
    QToolButton* SBTAPIBtn;
    QToolButton* SBQuitBtn;
    QMenu* TerminalMenu;
    QAction* MTModemInit;
    QAction* MTDial;
    QAction* MTHangUp;
    QAction* MTFontSel;
    QAction* MTSettings;
    QAction* MTTAPI;
    QAction* MTClose;
    QWidget* ButtonBar;
    QWidget* TerminalPanel;
    QLabel* OnlineLabel;
    TStatusLight* DCDLight;
    QFontDialog* FontDialog;

    comms::TComPort* ComPort;
    comms::TModem* Modem;
    comms::TTerminalEmulator* TerminalEmulator;
    comms::TTerminal* Terminal;
    comms::TDialerDialog* DialerDialog;
    comms::TProtocolStatus* ProtocolStatus;
    comms::TProtocol* Protocol;
    comms::TTapiStatus* TapiStatus;
    comms::TTapiDevice* TapiDevice;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateComponents();
    void CreateButtonBar();
    void CreateMenu();
    void FormCreate();
    void FormShow();
    void FormDestroy();
    void ReadSettings(util::TRegKey& key);
    void FitToTerminal();
    void CentreOnScreen();
    bool TryOpenPort();
    void ShowPortError(const ETerminalError& error);
    void RenewZModemTrigger();
    void DropZModemTrigger();
    // Removes every trigger of the port and forgets their handles.
    void RemoveTriggers();
    void ComPortTriggerStatus(comms::TComPort* port, std::uint16_t handle);
    void ComPortTriggerData(comms::TComPort* port, std::uint16_t handle);
    void ProtocolProtocolFinish();
    void TapiDeviceTapiPortOpen();
    void TapiDeviceTapiPortClose();
    void TapiDeviceTapiFail();
    void TapiRetry();
    void TapiFailed();
    // Hangs the modem up and closes the port once the carrier is gone (or the wait is over),
    // so that the hang-up commands still reach the modem.
    void HangUpThenClose();
    void CloseAfterHangUp();

    std::uint16_t zmodemTrigger_ = 0;
    std::uint16_t carrierTrigger_ = 0;
    bool closing_ = false;
    bool dialPending_ = false;
    bool firstStart_ = true;
    bool closeAfterHangUp_ = false;
    QTimer hangUpWait_;
    TComSetForm* comSetForm_ = nullptr;
    TTelSelForm* telSelForm_ = nullptr;
};

} // namespace terminal
