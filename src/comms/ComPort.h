// TComPort: the serial port component. It opens the device of its port number (or takes a
// network line from a line device), sends and receives on the event loop, and watches the
// received bytes for data triggers and the modem status for status triggers. Every event is
// emitted on the thread that owns the port (the GUI thread), with the trigger's 16-bit handle.
//
// Carrier detect comes from the modem lines where the device has them; a device without modem
// lines (a pseudo-terminal, many USB adapters) takes it from the modem's result codes: a line
// starting with "CONNECT" sets it, "NO CARRIER" (or the text given by SetNoCarrierText) and a
// lost line clear it. A network line has carrier while it is connected.
//
// Received bytes go to one capturing reader (a running file transfer) if there is one, else to
// the DataReceived signal. A trigger that matches in the middle of a piece of data fires before
// the rest of the piece is handed on, so a handler that starts a file transfer gets every byte
// after the trigger.
#pragma once

#include "comms/ComLine.h"
#include "rtl/Exceptions.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <string_view>
#include <vector>

namespace comms {

enum TTapiMode { tmOff, tmOn };

// The modem status bit the status triggers watch: carrier detect.
inline constexpr int msDCD = 0x80;

// A port that cannot be opened; the message says why, in German (Windows-1252, as all the
// program's messages).
class EComError : public rtl::Exception {
    using rtl::Exception::Exception;
};

// Takes the port's received bytes while it captures them; returns how many it used. Bytes it
// leaves (because it finished) go on to the port's other readers.
class TLineCapture {
public:
    virtual ~TLineCapture() = default;
    virtual std::size_t Captured(std::string_view bytes) = 0;
};

class TComPort : public QObject {
    Q_OBJECT

public:
    explicit TComPort(QObject* parent = nullptr);
    ~TComPort() override;

    int ComNumber() const { return comNumber_; }
    void SetComNumber(int number) { comNumber_ = number; }
    int Baud() const { return baud_; }
    void SetBaud(int baud) { baud_ = baud; }
    TTapiMode TapiMode() const { return tapiMode_; }
    void SetTapiMode(TTapiMode mode) { tapiMode_ = mode; }
    // Flow control: reading pauses while more than BufferFull received bytes wait to be
    // handed on, and goes on when fewer than BufferResume are left.
    int BufferFull() const { return bufferFull_; }
    void SetBufferFull(int bytes) { bufferFull_ = bytes; }
    int BufferResume() const { return bufferResume_; }
    void SetBufferResume(int bytes) { bufferResume_ = bytes; }
    // The result code that means the carrier is gone, besides "NO CARRIER".
    void SetNoCarrierText(const QString& text) { noCarrierText_ = text.toLatin1(); }

    bool Open() const { return line_ != nullptr; }
    // Opening takes the device of ComNumber ("com" + number through the drive table): EComError
    // when that fails. Closing ends any line, also one a line device attached.
    void SetOpen(bool open);
    // Opens the port on a device file given directly (no port number): EComError on failure.
    void OpenDevice(const QString& deviceFile);
    // Opens the port on a line that another component made (a network line device).
    void AttachLine(TComLine* line);
    // The device file opened, or empty for a network line.
    QString DeviceName() const { return deviceName_; }

    void Write(const QByteArray& bytes);
    // Milliseconds since anything was last written to the port; -1 when nothing was yet.
    qint64 MsSinceWrite() const { return lastWrite_.isValid() ? lastWrite_.elapsed() : -1; }
    // Bytes written but not yet sent.
    qint64 OutputPending() const;

    // Triggers. Handles are never 0.
    std::uint16_t AddDataTrigger(const QByteArray& text);
    std::uint16_t AddStatusTrigger();
    // Arms a status trigger: it fires once when one of the masked bits changes.
    void SetStatusTrigger(std::uint16_t handle, int mask, bool armed);
    void RemoveTrigger(std::uint16_t handle);
    void RemoveAllTriggers();

    bool DCD() const { return carrier_; }
    int ModemStatus() const;

    void SetCapture(TLineCapture* capture);
    TLineCapture* Capture() const { return capture_; }

signals:
    void TriggerData(TComPort* port, std::uint16_t handle);
    void TriggerStatus(TComPort* port, std::uint16_t handle);
    void DataReceived(const QByteArray& bytes);
    void PortOpened();
    void PortClosed();
    // The line went away by itself (hung up, unplugged, connection closed); the port is closed.
    void LineLost(const QString& reason);

private:
    struct DataTrigger {
        std::uint16_t handle;
        QByteArray text;
    };
    struct StatusTrigger {
        std::uint16_t handle;
        int mask = 0;
        bool armed = false;
    };

    void Received(const QByteArray& bytes);
    void HandOn();
    // The position just after the first trigger match in bytes, or bytes.size().
    std::size_t ScanTriggers(std::string_view bytes, std::uint16_t& fired);
    void ScanResultCodes(std::string_view bytes);
    void UpdateStatus(int before);
    void LinesChanged();
    void Lost(const QString& reason);
    void Close(bool notify);
    std::uint16_t NextHandle() const;

    int comNumber_ = 1;
    int baud_ = 38400;
    TTapiMode tapiMode_ = tmOff;
    int bufferFull_ = 3686;
    int bufferResume_ = 409;
    QByteArray noCarrierText_ = "NO CARRIER";
    QPointer<TComLine> line_;
    QString deviceName_;
    bool carrier_ = false;
    bool carrierFromResults_ = false;
    std::vector<DataTrigger> dataTriggers_;
    std::vector<StatusTrigger> statusTriggers_;
    std::string tail_;       // the last received bytes, as long as the longest trigger
    std::string resultLine_; // the result code line being received
    QByteArray waiting_;     // received, not yet handed on
    bool handingOn_ = false;
    bool readingPaused_ = false;
    TLineCapture* capture_ = nullptr;
    QElapsedTimer lastWrite_;
};

} // namespace comms
