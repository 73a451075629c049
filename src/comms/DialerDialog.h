// TDialerDialog: dials PhoneNumber through a TModem and shows how the call goes, in German.
// Execute runs it modally: it ends with OK (1) when the modem reports CONNECT, and with Cancel
// (2) on no dial tone, busy, no carrier, voice, an error, the time-out, or the Cancel button
// (which sends the dial-cancel string). After a failure the reason stays readable for
// FailureDelayMs before the dialog closes.
#pragma once

#include <QDialog>
#include <QString>
#include <QTimer>

class QLabel;
class QPushButton;

namespace comms {

class TModem;
enum class TModemResponse;

class TDialerDialog : public QDialog {
    Q_OBJECT

public:
    enum class TOutcome {
        None,
        Connected,
        NoDialTone,
        Busy,
        NoCarrier,
        Voice,
        Error,
        TimedOut,
        Cancelled,
        PortClosed
    };

    TDialerDialog(TModem* modem, QWidget* parent = nullptr);

    QString PhoneNumber() const { return phoneNumber_; }
    void SetPhoneNumber(const QString& number) { phoneNumber_ = number; }
    int FailureDelayMs() const { return failureDelayMs_; }
    void SetFailureDelayMs(int ms) { failureDelayMs_ = ms; }

    // Dials and waits; 1 when connected, 2 otherwise.
    int Execute();
    TOutcome Outcome() const { return outcome_; }
    // The modem's CONNECT line ("CONNECT 38400").
    QString ConnectLine() const { return connectLine_; }

    QLabel* NumberLabel;
    QLabel* StatusLabel;
    QPushButton* CancelBtn;

private:
    void Response(TModemResponse response, const QString& line);
    void Fail(TOutcome outcome, const QString& text);
    void CancelClick();

    TModem* modem_;
    QString phoneNumber_;
    QString connectLine_;
    TOutcome outcome_ = TOutcome::None;
    int failureDelayMs_ = 2000;
    QTimer closeTimer_;
};

} // namespace comms
