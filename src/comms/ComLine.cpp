#include "comms/ComLine.h"

#include <QSocketNotifier>
#include <QTcpSocket>
#include <QTimer>

namespace comms {

namespace {

constexpr int kReadChunk = 65536;
// How often the modem lines of a real serial device are looked at.
constexpr int kLinesIntervalMs = 100;

} // namespace

TSerialLine::TSerialLine(platform::SerialDevice device, QObject* parent)
    : TComLine(parent), device_(std::move(device)),
      reader_(std::make_unique<QSocketNotifier>(device_.Handle(), QSocketNotifier::Read)),
      writer_(std::make_unique<QSocketNotifier>(device_.Handle(), QSocketNotifier::Write)),
      lines_(device_.ReadModemLines()) {
    writer_->setEnabled(false);
    connect(reader_.get(), &QSocketNotifier::activated, this, &TSerialLine::ReadAvailable);
    connect(writer_.get(), &QSocketNotifier::activated, this, &TSerialLine::WriteWaiting);
    if (lines_) {
        linesTimer_ = new QTimer(this);
        connect(linesTimer_, &QTimer::timeout, this, &TSerialLine::CheckLines);
        linesTimer_->start(kLinesIntervalMs);
    }
}

TSerialLine::~TSerialLine() {
    Release();
}

void TSerialLine::Release() {
    // The notifiers stop before the device closes its handle; they are deleted later, since
    // this may run inside their own signal.
    for (auto* notifier : {&reader_, &writer_})
        if (*notifier) {
            (*notifier)->setEnabled(false);
            notifier->release()->deleteLater();
        }
    if (linesTimer_)
        linesTimer_->stop();
    device_.Close();
    lost_ = true;
}

void TSerialLine::Write(const QByteArray& bytes) {
    if (lost_)
        return;
    output_ += bytes;
    WriteWaiting();
}

void TSerialLine::WriteWaiting() {
    while (!output_.isEmpty()) {
        const auto n = device_.Write(output_.constData(), static_cast<std::size_t>(output_.size()));
        if (n < 0) {
            LoseLine(tr("Die Leitung ist unterbrochen"));
            return;
        }
        if (n == 0)
            break;
        output_.remove(0, static_cast<qsizetype>(n));
    }
    if (writer_)
        writer_->setEnabled(!output_.isEmpty());
}

void TSerialLine::SetReading(bool reading) {
    if (reader_)
        reader_->setEnabled(reading);
}

std::optional<bool> TSerialLine::CarrierLine() const {
    if (!lines_)
        return std::nullopt;
    return lines_->carrierDetect && !lost_;
}

void TSerialLine::ReadAvailable() {
    QByteArray buffer(kReadChunk, Qt::Uninitialized);
    const auto n = device_.Read(buffer.data(), static_cast<std::size_t>(buffer.size()));
    if (n < 0) {
        LoseLine(tr("Die Leitung ist unterbrochen"));
        return;
    }
    if (n > 0) {
        buffer.truncate(static_cast<qsizetype>(n));
        emit Received(buffer);
    }
}

void TSerialLine::CheckLines() {
    const auto now = device_.ReadModemLines();
    if (!now)
        return;
    const bool changed = !lines_ || now->carrierDetect != lines_->carrierDetect ||
                         now->dataSetReady != lines_->dataSetReady ||
                         now->clearToSend != lines_->clearToSend ||
                         now->ringIndicator != lines_->ringIndicator;
    lines_ = now;
    if (changed)
        emit LinesChanged();
}

void TSerialLine::LoseLine(const QString& reason) {
    if (lost_)
        return;
    Release();
    output_.clear();
    emit Lost(reason);
}

TNetworkLine::TNetworkLine(bool telnet, QObject* parent)
    : TComLine(parent), socket_(new QTcpSocket(this)) {
    if (telnet)
        telnet_.emplace();
    socket_->setReadBufferSize(kReadChunk);
    connect(socket_, &QTcpSocket::connected, this, [this] {
        connected_ = true;
        socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        if (telnet_) {
            const std::string greeting = telnet_->Greeting();
            socket_->write(greeting.data(), static_cast<qint64>(greeting.size()));
        }
        emit Connected();
        ReadAvailable();
    });
    connect(socket_, &QTcpSocket::readyRead, this, &TNetworkLine::ReadAvailable);
    connect(socket_, &QTcpSocket::errorOccurred, this, [this] {
        const QString reason = socket_->errorString();
        if (connected_) {
            ReadAvailable();
            connected_ = false;
            emit LinesChanged();
            emit Lost(reason);
        } else {
            emit Failed(reason);
        }
    });
}

TNetworkLine::~TNetworkLine() {
    Release();
}

void TNetworkLine::Release() {
    socket_->disconnect(this);
    socket_->abort();
    connected_ = false;
}

void TNetworkLine::Connect(const QString& host, quint16 port) {
    socket_->connectToHost(host, port);
}

bool TNetworkLine::IsConnected() const {
    return connected_;
}

void TNetworkLine::Write(const QByteArray& bytes) {
    if (!connected_)
        return;
    if (telnet_) {
        const std::string encoded = telnet_->Encode(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        socket_->write(encoded.data(), static_cast<qint64>(encoded.size()));
    } else {
        socket_->write(bytes);
    }
}

void TNetworkLine::SetReading(bool reading) {
    reading_ = reading;
    if (reading)
        QTimer::singleShot(0, this, &TNetworkLine::ReadAvailable);
}

std::optional<bool> TNetworkLine::CarrierLine() const {
    return connected_;
}

qint64 TNetworkLine::Pending() const {
    return socket_->bytesToWrite();
}

void TNetworkLine::ReadAvailable() {
    while (reading_ && socket_->bytesAvailable() > 0) {
        const QByteArray raw = socket_->read(kReadChunk);
        if (!telnet_) {
            emit Received(raw);
            continue;
        }
        std::string data;
        std::string replies;
        telnet_->Decode(std::string_view(raw.constData(), static_cast<std::size_t>(raw.size())),
                        data, replies);
        if (!replies.empty())
            socket_->write(replies.data(), static_cast<qint64>(replies.size()));
        if (!data.empty())
            emit Received(QByteArray(data.data(), static_cast<qsizetype>(data.size())));
    }
}

} // namespace comms
