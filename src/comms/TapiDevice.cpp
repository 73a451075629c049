#include "comms/TapiDevice.h"

#include "comms/ComLine.h"
#include "comms/ComPort.h"
#include "comms/TapiConfigDialog.h"
#include "comms/TapiStatus.h"

#include <QTimer>

namespace comms {

namespace {

const QString kTelnet = QStringLiteral("Telnet");
const QString kTcp = QStringLiteral("TCP");

} // namespace

TTapiDevice::TTapiDevice(TComPort* port, QObject* parent)
    : QObject(parent), port_(port), selectedDevice_(kTelnet) {
    connect(port_, &TComPort::PortClosed, this, &TTapiDevice::PortClosed);
}

QStringList TTapiDevice::DeviceNames() {
    return {kTelnet, kTcp};
}

bool TTapiDevice::Telnet() const {
    return selectedDevice_.compare(kTcp, Qt::CaseInsensitive) != 0;
}

TDialDirectory TTapiDevice::Directory() const {
    TDialDirectory directory(selectedDevice_);
    directory.Load();
    return directory;
}

void TTapiDevice::Status(const QString& text) {
    if (status_)
        status_->ShowText(text);
    emit TapiStatusChanged(text);
}

void TTapiDevice::Fail(const QString& reason) {
    state_ = TState::Idle;
    Status(reason);
    if (status_)
        status_->Finish();
    QTimer::singleShot(0, this, [this, reason] { emit TapiFail(reason); });
}

void TTapiDevice::Dial(const QString& number) {
    if (state_ == TState::Dialling || state_ == TState::Connected || !port_)
        return;
    if (!DeviceNames().contains(selectedDevice_, Qt::CaseInsensitive)) {
        Fail(tr("Das Ger\u00e4t \"%1\" gibt es nicht").arg(selectedDevice_));
        return;
    }
    std::optional<TDialEntry> entry;
    try {
        entry = Directory().Lookup(number);
    } catch (const std::exception&) {
        entry.reset();
    }
    if (!entry) {
        Fail(tr("Die Nummer %1 steht nicht im W\u00e4hlverzeichnis von %2")
                 .arg(number, selectedDevice_));
        return;
    }
    state_ = TState::Dialling;
    if (status_)
        status_->Start(tr("%1 - W\u00e4hlen").arg(selectedDevice_));
    Status(tr("W\u00e4hle %1 (%2:%3)...").arg(number, entry->host).arg(entry->port));
    auto* line = new TNetworkLine(Telnet(), this);
    dialling_ = line;
    connect(line, &TNetworkLine::Connected, this, [this, line] {
        dialling_ = nullptr;
        line->disconnect(this);
        state_ = TState::Connected;
        port_->AttachLine(line);
        Status(tr("Verbunden"));
        if (status_)
            status_->Finish();
        emit TapiPortOpen();
    });
    connect(line, &TNetworkLine::Failed, this, [this, line](const QString& reason) {
        dialling_ = nullptr;
        line->deleteLater();
        Fail(tr("Keine Verbindung: %1").arg(reason));
    });
    line->Connect(entry->host, entry->port);
}

bool TTapiDevice::CancelCall() {
    if (state_ == TState::Dialling && dialling_) {
        dialling_->Release();
        dialling_->deleteLater();
        dialling_ = nullptr;
        state_ = TState::Idle;
        Status(tr("Abgebrochen"));
        if (status_)
            status_->Finish();
    } else if ((state_ == TState::Connected || state_ == TState::Direct) && port_) {
        port_->SetOpen(false);
    }
    return state_ == TState::Idle;
}

void TTapiDevice::OpenDirect() {
    if (state_ != TState::Idle || !port_)
        return;
    state_ = TState::Direct;
    port_->AttachLine(new TNetworkLine(Telnet()));
    emit TapiPortOpen();
}

void TTapiDevice::PortClosed() {
    if (state_ != TState::Connected && state_ != TState::Direct)
        return;
    state_ = TState::Idle;
    Status(tr("Aufgelegt"));
    emit TapiPortClose();
}

void TTapiDevice::ShowConfigDialog(QWidget* parent) {
    TTapiConfigDialog dialog(selectedDevice_, parent);
    dialog.exec();
}

void TTapiDeviceSelection::EnumerateDevices() {
    devices_ = show_ ? TTapiDevice::DeviceNames() : QStringList();
}

} // namespace comms
