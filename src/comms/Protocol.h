// TProtocol: the file-transfer component on a TComPort. It receives with our ZModem receiver
// into DestinationDirectory: while it runs it captures the port's data, and it reports the
// progress to its status window and the end, however it came, once through ProtocolFinish.
//
// Times are in ticks of the PC clock (1/18.2 s), as the settings give them: HandshakeWait is how
// long the sender may stay silent before the transfer is given up (the receiver asks again
// after each sixth of it); FinishWait is how long the sender's closing "OO" is waited for
// (0: one second).
//
// With AutoStart the component watches the port for the ZModem start sequence ("**", ZDLE,
// "B00") itself and starts receiving when it comes; ProtocolStarted tells the owner either way.
#pragma once

#include "comms/ComPort.h"
#include "comms/ProtocolStatus.h"
#include "comms/ZmodemReceiver.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <memory>
#include <vector>

namespace comms {

enum TProtocolType { ptNoProtocol, ptZmodem };
enum TBlockCheckMethod { bcmCrc16, bcmCrc32 };

class TProtocol : public QObject, private ZmodemHost, private TLineCapture {
    Q_OBJECT

public:
    static constexpr double kTickMs = 1000.0 / 18.2;

    explicit TProtocol(TComPort* port, QObject* parent = nullptr);
    ~TProtocol() override;

    TComPort* ComPort() const { return port_; }
    TProtocolType ProtocolType() const { return type_; }
    void SetProtocolType(TProtocolType type) { type_ = type; }
    // A DOS path through the drive table ("c:\DOWNLOAD"), or a native one ("/home/…").
    QString DestinationDirectory() const { return destination_; }
    void SetDestinationDirectory(const QString& directory) { destination_ = directory; }
    QString FileMask() const { return fileMask_; }
    void SetFileMask(const QString& mask) { fileMask_ = mask; }
    TBlockCheckMethod BlockCheckMethod() const { return blockCheck_; }
    void SetBlockCheckMethod(TBlockCheckMethod method) { blockCheck_ = method; }
    int HandshakeWait() const { return handshakeWait_; }
    void SetHandshakeWait(int ticks) { handshakeWait_ = ticks; }
    int FinishWait() const { return finishWait_; }
    void SetFinishWait(int ticks) { finishWait_ = ticks; }
    // Bytes of framing per 1024 data bytes, for the estimate of the time left.
    int Overhead() const { return overhead_; }
    void SetOverhead(int bytes) { overhead_ = bytes; }
    // Resume a partial file at its length when the sender offers it.
    bool ZmodemRecover() const { return recover_; }
    void SetZmodemRecover(bool recover) { recover_ = recover; }
    bool AutoStart() const { return autoStartTrigger_ != 0; }
    void SetAutoStart(bool on);

    TProtocolStatus* StatusDisplay() const { return status_; }
    void SetStatusDisplay(TProtocolStatus* status) { status_ = status; }

    // Starts receiving; at once a finish with failure when the port is closed or the
    // destination is unusable.
    void StartReceive();
    // Cancels a running transfer (the user's Abort).
    void CancelProtocol();
    bool InProgress() const { return receiver_ != nullptr; }

    // The last transfer.
    const std::vector<ReceivedFile>& Files() const { return files_; }
    bool Completed() const { return completed_; }
    QString Outcome() const { return outcome_; }
    QString FileName() const { return fileName_; }
    qint64 FileLength() const { return fileLength_; }
    qint64 BytesTransferred() const { return fileBytes_; }
    int TotalErrors() const { return errors_; }
    QString LastError() const { return lastError_; }
    // Bytes per second over the whole transfer so far.
    qint64 Rate() const;
    // Seconds left for the current file at the present rate; -1 when unknown.
    int EstimatedSecondsLeft() const;

signals:
    void ProtocolStarted(TProtocol* protocol);
    void ProtocolStatus(TProtocol* protocol);
    void FileEnded(TProtocol* protocol, const ReceivedFile& file);
    void ProtocolFinish(TProtocol* protocol, bool completed, const QString& message);

private:
    std::size_t Captured(std::string_view bytes) override;
    void SendToLine(std::string_view bytes) override;
    void FileBegins(const std::string& name, std::int64_t length, std::int64_t offset) override;
    void FileProgress(std::int64_t bytesInFile) override;
    void FileEnds(const ReceivedFile& file) override;
    void TransferError(const std::string& message) override;
    void Finished(bool completed, const std::string& message) override;

    // Emits the finish once the receiver has returned.
    void AfterReceiver();
    void RetryIntervalPassed();
    void AutoStartTriggered(TComPort* port, std::uint16_t handle);
    void Fail(const QString& message);
    // The wait for the sender: the retry interval, or the finish wait once the batch is done.
    void RestartTimer();

    QPointer<TComPort> port_;
    TProtocolType type_ = ptZmodem;
    QString destination_ = QStringLiteral("c:\\");
    QString fileMask_ = QStringLiteral("*.*");
    TBlockCheckMethod blockCheck_ = bcmCrc32;
    int handshakeWait_ = 1092;
    int finishWait_ = 0;
    int overhead_ = 20;
    bool recover_ = true;
    std::uint16_t autoStartTrigger_ = 0;
    QPointer<TProtocolStatus> status_;

    std::unique_ptr<DownloadFolder> folder_;
    std::unique_ptr<ZmodemReceiver> receiver_;
    QTimer retryTimer_;
    QElapsedTimer clock_;
    QElapsedTimer statusClock_;
    std::vector<ReceivedFile> files_;
    bool completed_ = false;
    bool finishPending_ = false;
    QString outcome_;
    QString fileName_;
    qint64 fileLength_ = 0;
    qint64 fileBytes_ = 0;
    qint64 sessionBytes_ = 0;
    int errors_ = 0;
    QString lastError_;
};

} // namespace comms
