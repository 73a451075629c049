// The byte lines under a serial port component: a serial device (or pseudo-terminal) read on
// the event loop, and a network connection, raw or telnet. A line reports what it received, and
// once that it was lost; writing never blocks (what the line cannot take yet is kept and sent
// when it can).
#pragma once

#include "comms/Telnet.h"
#include "platform/SerialPorts.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>

class QSocketNotifier;
class QTcpSocket;
class QTimer;

namespace comms {

class TComLine : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    virtual void Write(const QByteArray& bytes) = 0;
    // Lets the device or connection go at once; the object itself may go later.
    virtual void Release() = 0;
    // Stops or restarts reading (flow control: the reader is behind).
    virtual void SetReading(bool reading) = 0;
    // Carrier detect from the modem lines; nullopt for a line without them.
    virtual std::optional<bool> CarrierLine() const = 0;
    // Bytes written but not yet taken by the line.
    virtual qint64 Pending() const = 0;

signals:
    void Received(const QByteArray& bytes);
    void Lost(const QString& reason);
    // The modem status lines changed.
    void LinesChanged();
};

class TSerialLine : public TComLine {
    Q_OBJECT

public:
    // Takes over an opened device.
    TSerialLine(platform::SerialDevice device, QObject* parent = nullptr);
    ~TSerialLine() override;

    void Write(const QByteArray& bytes) override;
    void Release() override;
    void SetReading(bool reading) override;
    std::optional<bool> CarrierLine() const override;
    qint64 Pending() const override { return output_.size(); }

private:
    void ReadAvailable();
    void WriteWaiting();
    void CheckLines();
    void LoseLine(const QString& reason);

    platform::SerialDevice device_;
    std::unique_ptr<QSocketNotifier> reader_;
    std::unique_ptr<QSocketNotifier> writer_;
    QTimer* linesTimer_ = nullptr;
    std::optional<platform::ModemLines> lines_;
    QByteArray output_;
    bool lost_ = false;
};

// A TCP connection; with telnet the protocol is spoken and the data passed through it.
class TNetworkLine : public TComLine {
    Q_OBJECT

public:
    TNetworkLine(bool telnet, QObject* parent = nullptr);
    ~TNetworkLine() override;

    // Connects; Connected or Failed follows.
    void Connect(const QString& host, quint16 port);
    bool IsConnected() const;

    void Write(const QByteArray& bytes) override;
    void Release() override;
    void SetReading(bool reading) override;
    std::optional<bool> CarrierLine() const override;
    qint64 Pending() const override;

signals:
    void Connected();
    void Failed(const QString& reason);

private:
    void ReadAvailable();

    QTcpSocket* socket_;
    std::optional<TelnetCodec> telnet_;
    bool reading_ = true;
    bool connected_ = false;
};

} // namespace comms
