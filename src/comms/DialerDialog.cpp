#include "comms/DialerDialog.h"

#include "comms/ComPort.h"
#include "comms/Modem.h"
#include "util/widgets/Controls.h"
#include "util/widgets/MsgBox.h"

#include <QLabel>
#include <QPushButton>

namespace comms {

using util::Placed;

TDialerDialog::TDialerDialog(TModem* modem, QWidget* parent) : QDialog(parent), modem_(modem) {
    setObjectName(QStringLiteral("DialerDialog"));
    setWindowTitle(tr("W\u00e4hlen"));
    setFixedSize(300, 110);
    NumberLabel = Placed(new QLabel(this), "NumberLabel", 12, 12, 276, 18);
    StatusLabel = Placed(new QLabel(this), "StatusLabel", 12, 36, 276, 18);
    CancelBtn = Placed(new QPushButton(tr("Abbrechen"), this), "CancelBtn", 110, 72, 80, 26);
    closeTimer_.setSingleShot(true);
    connect(&closeTimer_, &QTimer::timeout, this, [this] { done(util::mrCancel); });
    connect(CancelBtn, &QPushButton::clicked, this, &TDialerDialog::CancelClick);
}

int TDialerDialog::Execute() {
    outcome_ = TOutcome::None;
    connectLine_.clear();
    CancelBtn->setText(tr("Abbrechen"));
    NumberLabel->setText(tr("Nummer: %1").arg(phoneNumber_));
    if (!modem_->ComPort()->Open()) {
        outcome_ = TOutcome::PortClosed;
        return util::mrCancel;
    }
    StatusLabel->setText(tr("W\u00e4hle..."));
    const auto responses = connect(modem_, &TModem::Response, this, &TDialerDialog::Response);
    const auto timeout = connect(modem_, &TModem::CommandTimedOut, this, [this] {
        modem_->CancelDial();
        Fail(TOutcome::TimedOut, tr("Keine Antwort innerhalb der Wartezeit"));
    });
    const auto closed = connect(modem_->ComPort(), &TComPort::PortClosed, this, [this] {
        Fail(TOutcome::PortClosed, tr("Die Schnittstelle wurde geschlossen"));
    });
    modem_->Dial(phoneNumber_);
    const int result = exec();
    disconnect(responses);
    disconnect(timeout);
    disconnect(closed);
    closeTimer_.stop();
    if (outcome_ == TOutcome::None)
        outcome_ = TOutcome::Cancelled;
    return result == util::mrOk ? util::mrOk : util::mrCancel;
}

void TDialerDialog::Response(TModemResponse response, const QString& line) {
    if (outcome_ != TOutcome::None)
        return;
    switch (response) {
    case TModemResponse::Connect:
        outcome_ = TOutcome::Connected;
        connectLine_ = line;
        StatusLabel->setText(tr("Verbunden (%1)").arg(line));
        done(util::mrOk);
        break;
    case TModemResponse::NoDialTone:
        Fail(TOutcome::NoDialTone, tr("Kein W\u00e4hlton"));
        break;
    case TModemResponse::Busy:
        Fail(TOutcome::Busy, tr("Besetzt"));
        break;
    case TModemResponse::NoCarrier:
        Fail(TOutcome::NoCarrier, tr("Keine Verbindung"));
        break;
    case TModemResponse::Voice:
        Fail(TOutcome::Voice, tr("Es hat sich eine Stimme gemeldet"));
        break;
    case TModemResponse::Error:
        Fail(TOutcome::Error, tr("Das Modem meldet einen Fehler"));
        break;
    case TModemResponse::Ok:
    case TModemResponse::Ring:
        break;
    }
}

void TDialerDialog::Fail(TOutcome outcome, const QString& text) {
    if (outcome_ != TOutcome::None)
        return;
    outcome_ = outcome;
    StatusLabel->setText(text);
    CancelBtn->setText(tr("Schlie\u00dfen"));
    closeTimer_.start(failureDelayMs_);
}

void TDialerDialog::CancelClick() {
    if (outcome_ == TOutcome::None) {
        outcome_ = TOutcome::Cancelled;
        modem_->CancelDial();
    }
    done(util::mrCancel);
}

} // namespace comms
