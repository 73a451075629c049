// TTapiDevice: the telephony line device. This platform has no telephony interface, so its lines
// are network lines: the device "Telnet" speaks the telnet protocol (binary mode, so ZModem gets
// through), the device "TCP" passes bytes as they are. Dialling looks the number up in the
// device's dialling directory (TDialDirectory) and connects; the connection becomes the line of
// the TComPort, which is then open.
//
// Events: TapiPortOpen when the port opens on a line of this device (after a dial, or for direct
// use without dialling), TapiPortClose when that port closes (hung up here or by the far end),
// TapiFail when a dial cannot be made. They are emitted on the GUI thread, never from inside
// Dial or CancelCall for a failure; a dial while one is under way is ignored.
#pragma once

#include "comms/ComLine.h"
#include "comms/DialDirectory.h"
#include "comms/TapiStatus.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class QWidget;

namespace comms {

class TComPort;

class TTapiDevice : public QObject {
    Q_OBJECT

public:
    enum class TState { Idle, Dialling, Connected, Direct };

    TTapiDevice(TComPort* port, QObject* parent = nullptr);

    // The line devices of this platform.
    static QStringList DeviceNames();

    TComPort* ComPort() const { return port_; }
    QString SelectedDevice() const { return selectedDevice_; }
    void SetSelectedDevice(const QString& device) { selectedDevice_ = device; }
    bool ShowTapiDevices() const { return showTapiDevices_; }
    void SetShowTapiDevices(bool show) { showTapiDevices_ = show; }
    TTapiStatus* StatusDisplay() const { return status_; }
    void SetStatusDisplay(TTapiStatus* status) { status_ = status; }
    TState State() const { return state_; }

    void Dial(const QString& number);
    // Ends a call being made or held, or the line for direct use. True: the device is idle.
    bool CancelCall();
    // Opens the port on a line of this device without dialling (nothing to send to yet).
    void OpenDirect();
    // The device's configuration dialog: its dialling directory.
    void ShowConfigDialog(QWidget* parent = nullptr);

    // The dialling directory of the selected device, as stored.
    TDialDirectory Directory() const;

signals:
    void TapiPortOpen();
    void TapiPortClose();
    void TapiFail(const QString& reason);
    void TapiStatusChanged(const QString& text);

private:
    void Status(const QString& text);
    void Fail(const QString& reason);
    void PortClosed();
    bool Telnet() const;

    QPointer<TComPort> port_;
    QString selectedDevice_;
    bool showTapiDevices_ = true;
    QPointer<TTapiStatus> status_;
    TState state_ = TState::Idle;
    QPointer<TNetworkLine> dialling_;
};

// The selection of telephony devices, for a settings dialog's device list.
class TTapiDeviceSelection : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    bool ShowTapiDevices() const { return show_; }
    void SetShowTapiDevices(bool show) { show_ = show; }
    // Fills DeviceList: the devices when ShowTapiDevices is on, else none.
    void EnumerateDevices();
    const QStringList& DeviceList() const { return devices_; }

private:
    bool show_ = true;
    QStringList devices_;
};

} // namespace comms
