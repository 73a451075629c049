#include "comms/ComPort.h"

#include "comms/ComLine.h"
#include "platform/CodePage.h"
#include "platform/IoError.h"
#include "platform/SerialPorts.h"

#include <QTimer>
#include <algorithm>

namespace comms {

namespace {

// Received bytes handed on in one turn of the event loop, so that a flood of data never holds
// the GUI thread for long.
constexpr qsizetype kHandOnChunk = 32768;
constexpr std::size_t kMaxResultLine = 80;

QString OpenErrorText(int error, const QString& device, int baud) {
    switch (error) {
    case platform::ERROR_FILE_NOT_FOUND:
    case platform::ERROR_PATH_NOT_FOUND:
        return QObject::tr("%1 gibt es nicht").arg(device);
    case platform::ERROR_ACCESS_DENIED:
        return QObject::tr("Keine Berechtigung f\u00fcr %1").arg(device);
    case platform::ERROR_SHARING_VIOLATION:
        return QObject::tr("%1 wird schon von einem anderen Programm benutzt").arg(device);
    case platform::ERROR_INVALID_PARAMETER:
        return QObject::tr("%1 ist keine serielle Schnittstelle f\u00fcr %2 Baud")
            .arg(device)
            .arg(baud);
    default:
        return QObject::tr("%1 l\u00e4sst sich nicht \u00f6ffnen (Fehler %2)")
            .arg(device)
            .arg(error);
    }
}

[[noreturn]] void Raise(const QString& message) {
    throw EComError(platform::Utf8ToAnsi1252Lossy(message.toStdString()));
}

bool StartsWith(const std::string& line, const QByteArray& text) {
    return !text.isEmpty() &&
           line.compare(0, static_cast<std::size_t>(text.size()), text.constData(),
                        static_cast<std::size_t>(text.size())) == 0;
}

} // namespace

TComPort::TComPort(QObject* parent) : QObject(parent) {}

TComPort::~TComPort() {
    if (line_)
        delete line_.data();
}

void TComPort::SetOpen(bool open) {
    if (open == Open())
        return;
    if (!open) {
        Close(true);
        return;
    }
    const QString port = QStringLiteral("com%1").arg(comNumber_);
    const auto device = platform::SerialDeviceName(port.toStdString());
    if (!device)
        Raise(tr("%1 ist keinem Ger\u00e4t zugeordnet").arg(port.toUpper()));
    OpenDevice(QString::fromStdString(*device));
}

void TComPort::OpenDevice(const QString& deviceFile) {
    platform::SerialDevice serial;
    if (const int error = serial.Open(deviceFile.toStdString(), baud_))
        Raise(OpenErrorText(error, deviceFile, baud_));
    AttachLine(new TSerialLine(std::move(serial)));
    deviceName_ = deviceFile;
}

void TComPort::AttachLine(TComLine* line) {
    if (Open())
        Close(false);
    const int before = ModemStatus();
    line->setParent(this);
    line_ = line;
    deviceName_.clear();
    connect(line, &TComLine::Received, this, &TComPort::Received);
    connect(line, &TComLine::Lost, this, &TComPort::Lost);
    connect(line, &TComLine::LinesChanged, this, &TComPort::LinesChanged);
    carrierFromResults_ = !line->CarrierLine().has_value();
    carrier_ = line->CarrierLine().value_or(false);
    resultLine_.clear();
    tail_.clear();
    readingPaused_ = false;
    emit PortOpened();
    UpdateStatus(before);
}

void TComPort::Close(bool notify) {
    if (!line_)
        return;
    const int before = ModemStatus();
    line_->disconnect(this);
    line_->Release();
    line_->deleteLater();
    line_ = nullptr;
    deviceName_.clear();
    waiting_.clear();
    carrier_ = false;
    if (notify)
        emit PortClosed();
    UpdateStatus(before);
}

void TComPort::Lost(const QString& reason) {
    Close(false);
    emit LineLost(reason);
    emit PortClosed();
}

void TComPort::Write(const QByteArray& bytes) {
    if (!line_)
        return;
    line_->Write(bytes);
    lastWrite_.restart();
}

qint64 TComPort::OutputPending() const {
    return line_ ? line_->Pending() : 0;
}

std::uint16_t TComPort::NextHandle() const {
    std::uint16_t handle = 1;
    auto used = [&](std::uint16_t h) {
        return std::any_of(dataTriggers_.begin(), dataTriggers_.end(),
                           [&](const DataTrigger& t) { return t.handle == h; }) ||
               std::any_of(statusTriggers_.begin(), statusTriggers_.end(),
                           [&](const StatusTrigger& t) { return t.handle == h; });
    };
    while (used(handle))
        ++handle;
    return handle;
}

std::uint16_t TComPort::AddDataTrigger(const QByteArray& text) {
    if (text.isEmpty())
        return 0;
    const std::uint16_t handle = NextHandle();
    dataTriggers_.push_back({handle, text});
    return handle;
}

std::uint16_t TComPort::AddStatusTrigger() {
    const std::uint16_t handle = NextHandle();
    statusTriggers_.push_back({handle});
    return handle;
}

void TComPort::SetStatusTrigger(std::uint16_t handle, int mask, bool armed) {
    for (StatusTrigger& trigger : statusTriggers_)
        if (trigger.handle == handle) {
            trigger.mask = mask;
            trigger.armed = armed;
        }
}

void TComPort::RemoveTrigger(std::uint16_t handle) {
    std::erase_if(dataTriggers_, [&](const DataTrigger& t) { return t.handle == handle; });
    std::erase_if(statusTriggers_, [&](const StatusTrigger& t) { return t.handle == handle; });
}

void TComPort::RemoveAllTriggers() {
    dataTriggers_.clear();
    statusTriggers_.clear();
}

int TComPort::ModemStatus() const {
    return carrier_ ? msDCD : 0;
}

void TComPort::SetCapture(TLineCapture* capture) {
    capture_ = capture;
    tail_.clear();
    if (!capture && !waiting_.isEmpty())
        QTimer::singleShot(0, this, &TComPort::HandOn);
}

void TComPort::Received(const QByteArray& bytes) {
    if (carrierFromResults_)
        ScanResultCodes(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    waiting_ += bytes;
    HandOn();
}

void TComPort::HandOn() {
    if (handingOn_)
        return;
    handingOn_ = true;
    QPointer<TComPort> alive(this);
    // A capturing transfer takes all there is: it works faster than any display.
    qsizetype budget = capture_ ? waiting_.size() : kHandOnChunk;
    while (!waiting_.isEmpty() && budget > 0 && line_) {
        const std::string_view piece(waiting_.constData(),
                                     static_cast<std::size_t>(std::min(waiting_.size(), budget)));
        std::size_t used = 0;
        if (TLineCapture* capture = capture_) {
            used = capture->Captured(piece);
            if (!alive)
                return;
            if (capture_ == capture)
                used = piece.size();
        } else {
            std::uint16_t fired = 0;
            used = ScanTriggers(piece, fired);
            emit DataReceived(QByteArray(piece.data(), static_cast<qsizetype>(used)));
            if (alive && fired)
                emit TriggerData(this, fired);
            if (!alive)
                return;
        }
        waiting_.remove(0, static_cast<qsizetype>(used));
        budget -= static_cast<qsizetype>(used);
    }
    handingOn_ = false;
    if (!line_)
        return;
    if (!waiting_.isEmpty())
        QTimer::singleShot(0, this, &TComPort::HandOn);
    const bool pause =
        waiting_.size() > bufferFull_ || (readingPaused_ && waiting_.size() >= bufferResume_);
    if (pause != readingPaused_) {
        readingPaused_ = pause;
        line_->SetReading(!pause);
    }
}

std::size_t TComPort::ScanTriggers(std::string_view bytes, std::uint16_t& fired) {
    if (dataTriggers_.empty())
        return bytes.size();
    qsizetype longest = 0;
    for (const DataTrigger& trigger : dataTriggers_)
        longest = std::max(longest, trigger.text.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        tail_ += bytes[i];
        if (tail_.size() > static_cast<std::size_t>(longest))
            tail_.erase(0, tail_.size() - static_cast<std::size_t>(longest));
        for (const DataTrigger& trigger : dataTriggers_)
            if (std::string_view(tail_).ends_with(std::string_view(
                    trigger.text.constData(), static_cast<std::size_t>(trigger.text.size())))) {
                fired = trigger.handle;
                tail_.clear();
                return i + 1;
            }
    }
    return bytes.size();
}

void TComPort::ScanResultCodes(std::string_view bytes) {
    for (char c : bytes) {
        if (c != '\r' && c != '\n') {
            if (resultLine_.size() < kMaxResultLine)
                resultLine_ += c;
            continue;
        }
        const int before = ModemStatus();
        if (StartsWith(resultLine_, "CONNECT"))
            carrier_ = true;
        else if (StartsWith(resultLine_, "NO CARRIER") || StartsWith(resultLine_, noCarrierText_))
            carrier_ = false;
        resultLine_.clear();
        UpdateStatus(before);
    }
}

void TComPort::LinesChanged() {
    const int before = ModemStatus();
    if (line_ && line_->CarrierLine())
        carrier_ = *line_->CarrierLine();
    UpdateStatus(before);
}

void TComPort::UpdateStatus(int before) {
    const int changed = before ^ ModemStatus();
    if (changed == 0)
        return;
    std::vector<std::uint16_t> fire;
    for (StatusTrigger& trigger : statusTriggers_)
        if (trigger.armed && (trigger.mask & changed)) {
            trigger.armed = false;
            fire.push_back(trigger.handle);
        }
    QPointer<TComPort> alive(this);
    for (std::uint16_t handle : fire) {
        emit TriggerStatus(this, handle);
        if (!alive)
            return;
    }
}

} // namespace comms
