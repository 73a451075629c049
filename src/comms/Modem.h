// TModem: a Hayes (AT command) modem on a TComPort. It sends the command strings, in which
// "^M" stands for a carriage return (any "^" + letter for that control character) and "~" for
// a half-second pause, and it reads the modem's result codes from the port: a line that begins
// with one of the response texts counts, anything else (the echo of a command, blank lines,
// the mailbox's own text) is passed over.
//
// Hang-up keeps the guard time around the escape "+++": a second of silence before it, and the
// pauses of the hang-up string after it. A command that waits for a result (initialise,
// configure, answer, dial) ends with a Response or with CommandTimedOut.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>

namespace comms {

class TComPort;

enum class TModemResponse { Ok, Connect, Busy, Voice, NoCarrier, NoDialTone, Error, Ring };

class TModem : public QObject {
    Q_OBJECT

public:
    static constexpr int kMaxCommandLength = 255;
    // The library's time unit for the command time-out: a tick of the PC's clock, 1/18.2 s.
    static constexpr double kTickMs = 1000.0 / 18.2;

    explicit TModem(TComPort* port, QObject* parent = nullptr);

    TComPort* ComPort() const { return port_; }

    // Command strings, cut to kMaxCommandLength characters.
    QString InitCmd() const { return initCmd_; }
    void SetInitCmd(const QString& text) { initCmd_ = text.left(kMaxCommandLength); }
    QString DialCmd() const { return dialCmd_; }
    void SetDialCmd(const QString& text) { dialCmd_ = text.left(kMaxCommandLength); }
    QString DialTerm() const { return dialTerm_; }
    void SetDialTerm(const QString& text) { dialTerm_ = text.left(kMaxCommandLength); }
    QString DialCancel() const { return dialCancel_; }
    void SetDialCancel(const QString& text) { dialCancel_ = text.left(kMaxCommandLength); }
    QString HangupCmd() const { return hangupCmd_; }
    void SetHangupCmd(const QString& text) { hangupCmd_ = text.left(kMaxCommandLength); }
    QString ConfigCmd() const { return configCmd_; }
    void SetConfigCmd(const QString& text) { configCmd_ = text.left(kMaxCommandLength); }
    QString AnswerCmd() const { return answerCmd_; }
    void SetAnswerCmd(const QString& text) { answerCmd_ = text.left(kMaxCommandLength); }

    // Response texts.
    QString ResponseText(TModemResponse response) const;
    void SetResponseText(TModemResponse response, const QString& text);

    bool DTERateLocked() const { return dteRateLocked_; }
    void SetDTERateLocked(bool locked) { dteRateLocked_ = locked; }
    // In ticks (kTickMs).
    int CmdTimeout() const { return cmdTimeout_; }
    void SetCmdTimeout(int ticks) { cmdTimeout_ = ticks; }
    // How long a dialled call may take to answer, in seconds.
    int DialTimeout() const { return dialTimeout_; }
    void SetDialTimeout(int seconds) { dialTimeout_ = seconds; }

    // An inactive modem reads no result codes and sends nothing.
    bool Active() const { return active_; }
    void SetActive(bool active);

    void Initialize();
    void Configure();
    void Answer();
    void Dial(const QString& number);
    // Stops a dial in progress (the dial-cancel string).
    void CancelDial();
    void HangUp();
    // Sends a command string (with "^" and "~" as above) without waiting for a result.
    void SendCommand(const QString& command);

    // The control character notation of a command string as bytes; "~" stays.
    static QByteArray Expand(const QString& command);

signals:
    void Response(TModemResponse response, const QString& line);
    void CommandTimedOut();

private:
    struct Step {
        QByteArray bytes;
        int pauseMs = 0;      // after the bytes
        bool guard = false;   // first a second without sending (before "+++")
        int resultWaitMs = 0; // then wait this long for a result code
    };

    void Queue(const QString& command, int waitMs);
    void RunSteps();
    void Read(const QByteArray& bytes);
    void ResultLine(const QString& line);

    TComPort* port_;
    QString initCmd_ = "ATZ^M";
    QString dialCmd_ = "ATDT";
    QString dialTerm_ = "^M";
    QString dialCancel_ = "^M";
    QString hangupCmd_ = "+++~~~ATH0^M";
    QString configCmd_ = "AT^M";
    QString answerCmd_ = "ATA^M";
    QString responses_[8] = {"OK",         "CONNECT",     "BUSY",  "VOICE",
                             "NO CARRIER", "NO DIALTONE", "ERROR", "RING"};
    bool dteRateLocked_ = true;
    int cmdTimeout_ = 180;
    int dialTimeout_ = 60;
    bool active_ = true;
    std::deque<Step> steps_;
    QTimer stepTimer_;
    QTimer resultTimer_;
    QByteArray line_;
};

} // namespace comms
