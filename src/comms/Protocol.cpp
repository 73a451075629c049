#include "comms/Protocol.h"

#include "comms/ProtocolStatus.h"
#include "platform/CodePage.h"
#include "platform/DosPath.h"

#include <algorithm>

namespace comms {

namespace {

// Progress is reported at most this often; a file's start and end and every error always.
constexpr qint64 kStatusIntervalMs = 100;

const QByteArray kZmodemStart("**\x18"
                              "B00");

QString FromAnsi(const std::string& text) {
    return QString::fromStdString(platform::Ansi1252ToUtf8(text));
}

} // namespace

TProtocol::TProtocol(TComPort* port, QObject* parent) : QObject(parent), port_(port) {
    retryTimer_.setSingleShot(true);
    connect(&retryTimer_, &QTimer::timeout, this, &TProtocol::RetryIntervalPassed);
    connect(port_, &TComPort::TriggerData, this, &TProtocol::AutoStartTriggered);
    connect(port_, &TComPort::PortClosed, this, [this] {
        if (receiver_) {
            receiver_->LineLost();
            AfterReceiver();
        }
    });
}

TProtocol::~TProtocol() {
    if (port_ && port_->Capture() == static_cast<TLineCapture*>(this))
        port_->SetCapture(nullptr);
}

void TProtocol::SetAutoStart(bool on) {
    if (autoStartTrigger_ != 0 && port_)
        port_->RemoveTrigger(autoStartTrigger_);
    autoStartTrigger_ = on && port_ ? port_->AddDataTrigger(kZmodemStart) : 0;
}

void TProtocol::AutoStartTriggered(TComPort*, std::uint16_t handle) {
    if (handle != 0 && handle == autoStartTrigger_ && !receiver_)
        StartReceive();
}

void TProtocol::RestartTimer() {
    if (!receiver_->Running())
        return;
    const int retryMs = std::max(1000, qRound(handshakeWait_ * kTickMs / 6));
    const int finishMs = finishWait_ > 0 ? qRound(finishWait_ * kTickMs) : 1000;
    retryTimer_.start(receiver_->AwaitingEnd() ? finishMs : retryMs);
}

void TProtocol::StartReceive() {
    if (receiver_)
        return;
    files_.clear();
    completed_ = false;
    outcome_.clear();
    fileName_.clear();
    fileLength_ = fileBytes_ = sessionBytes_ = 0;
    errors_ = 0;
    lastError_.clear();
    clock_.start();
    emit ProtocolStarted(this);
    if (!port_ || !port_->Open()) {
        Fail(tr("Die Schnittstelle ist nicht ge\u00f6ffnet"));
        return;
    }
    const std::string ansi = platform::Utf8ToAnsi1252Lossy(destination_.toStdString());
    const auto native = destination_.startsWith(QLatin1Char('/'))
                            ? std::optional<std::string>(destination_.toStdString())
                            : platform::DosToNative(ansi);
    if (!native) {
        Fail(tr("Das Zielverzeichnis %1 liegt auf keinem Laufwerk").arg(destination_));
        return;
    }
    folder_ = std::make_unique<DownloadFolder>(
        *native, platform::Utf8ToAnsi1252Lossy(fileMask_.toStdString()), recover_);
    ZmodemOptions options;
    options.crc32 = blockCheck_ == bcmCrc32;
    ZmodemHost& host = *this;
    receiver_ = std::make_unique<ZmodemReceiver>(host, *folder_, options);
    TLineCapture* capture = this;
    port_->SetCapture(capture);
    if (status_)
        status_->Start(this);
    receiver_->Start();
    RestartTimer();
    AfterReceiver();
}

void TProtocol::CancelProtocol() {
    if (!receiver_)
        return;
    receiver_->Abort(platform::Utf8ToAnsi1252Lossy(tr("Vom Benutzer abgebrochen").toStdString()));
    AfterReceiver();
}

void TProtocol::Fail(const QString& message) {
    outcome_ = message;
    completed_ = false;
    QTimer::singleShot(0, this, [this, message] { emit ProtocolFinish(this, false, message); });
}

std::size_t TProtocol::Captured(std::string_view bytes) {
    if (!receiver_)
        return 0;
    const std::size_t used = receiver_->Feed(bytes);
    RestartTimer();
    AfterReceiver();
    return used;
}

void TProtocol::RetryIntervalPassed() {
    if (!receiver_)
        return;
    receiver_->Timeout();
    RestartTimer();
    AfterReceiver();
}

void TProtocol::SendToLine(std::string_view bytes) {
    if (port_)
        port_->Write(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

void TProtocol::FileBegins(const std::string& name, std::int64_t length, std::int64_t offset) {
    fileName_ = FromAnsi(name);
    fileLength_ = length;
    fileBytes_ = offset;
    emit ProtocolStatus(this);
}

void TProtocol::FileProgress(std::int64_t bytesInFile) {
    sessionBytes_ += bytesInFile - fileBytes_;
    fileBytes_ = bytesInFile;
    if (!statusClock_.isValid() || statusClock_.elapsed() >= kStatusIntervalMs) {
        statusClock_.start();
        emit ProtocolStatus(this);
    }
}

void TProtocol::FileEnds(const ReceivedFile& file) {
    emit ProtocolStatus(this);
    files_.push_back(file);
    emit FileEnded(this, file);
}

void TProtocol::TransferError(const std::string& message) {
    ++errors_;
    lastError_ = FromAnsi(message);
    emit ProtocolStatus(this);
}

void TProtocol::Finished(bool completed, const std::string& message) {
    completed_ = completed;
    outcome_ = FromAnsi(message);
    finishPending_ = true;
}

void TProtocol::AfterReceiver() {
    if (!finishPending_)
        return;
    finishPending_ = false;
    retryTimer_.stop();
    if (port_ && port_->Capture() == static_cast<TLineCapture*>(this))
        port_->SetCapture(nullptr);
    receiver_.reset();
    folder_.reset();
    if (status_)
        status_->Finish(this);
    emit ProtocolFinish(this, completed_, outcome_);
}

qint64 TProtocol::Rate() const {
    const qint64 ms = clock_.isValid() ? clock_.elapsed() : 0;
    return ms > 0 ? sessionBytes_ * 1000 / ms : 0;
}

int TProtocol::EstimatedSecondsLeft() const {
    const qint64 rate = Rate();
    if (rate <= 0 || fileLength_ < 0)
        return -1;
    const qint64 left = std::max<qint64>(0, fileLength_ - fileBytes_);
    return static_cast<int>(left * (1024 + overhead_) / 1024 / rate);
}

} // namespace comms
