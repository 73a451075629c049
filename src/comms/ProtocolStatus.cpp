#include "comms/ProtocolStatus.h"

#include "comms/Protocol.h"
#include "util/widgets/Controls.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

namespace comms {

using util::Placed;

namespace {

QLabel* Caption(QWidget* parent, const QString& text, int top) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(12, top, 110, 18);
    return label;
}

QString Bytes(qint64 bytes) {
    return QLocale(QLocale::German).toString(bytes) + QStringLiteral(" Bytes");
}

} // namespace

TProtocolStatus::TProtocolStatus(QWidget* parent) : QWidget(parent, Qt::Dialog) {
    setObjectName(QStringLiteral("ProtocolStatus"));
    setWindowTitle(tr("ZModem-Empfang"));
    setFixedSize(380, 250);
    const QString captions[] = {tr("Datei:"), tr("Gr\u00f6\u00dfe:"), tr("Empfangen:"),
                                tr("Rate:"),  tr("Restzeit:"),        tr("Fehler:"),
                                tr("Status:")};
    QLabel** values[] = {&FileNameLabel, &FileSizeLabel, &BytesLabel, &RateLabel,
                         &TimeLeftLabel, &ErrorsLabel,   &StatusLabel};
    const char* names[] = {"FileNameLabel", "FileSizeLabel", "BytesLabel", "RateLabel",
                           "TimeLeftLabel", "ErrorsLabel",   "StatusLabel"};
    for (int i = 0; i < 7; ++i) {
        Caption(this, captions[i], 12 + i * 22);
        *values[i] = Placed(new QLabel(this), names[i], 122, 12 + i * 22, 246, 18);
    }
    Gauge = Placed(new QProgressBar(this), "Gauge", 12, 172, 356, 20);
    Gauge->setRange(0, 100);
    AbortBtn = Placed(new QPushButton(tr("Abbrechen"), this), "AbortBtn", 150, 208, 80, 28);
    connect(AbortBtn, &QPushButton::clicked, this, [this] {
        if (protocol_)
            protocol_->CancelProtocol();
    });
}

void TProtocolStatus::Start(TProtocol* protocol) {
    if (protocol_ != protocol) {
        if (protocol_)
            protocol_->disconnect(this);
        protocol_ = protocol;
        connect(protocol_, &TProtocol::ProtocolStatus, this, &TProtocolStatus::Update);
    }
    Update(protocol);
    StatusLabel->setText(tr("Warte auf den Sender..."));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    move(screen.center() - rect().center());
    show();
}

void TProtocolStatus::Finish(TProtocol* protocol) {
    Update(protocol);
    StatusLabel->setText(protocol->Outcome());
    hide();
}

void TProtocolStatus::Update(TProtocol* protocol) {
    FileNameLabel->setText(protocol->FileName());
    FileSizeLabel->setText(protocol->FileLength() >= 0 ? Bytes(protocol->FileLength()) : QString());
    BytesLabel->setText(Bytes(protocol->BytesTransferred()));
    RateLabel->setText(QLocale(QLocale::German).toString(protocol->Rate()) + tr(" Bytes/s"));
    const int left = protocol->EstimatedSecondsLeft();
    TimeLeftLabel->setText(
        left >= 0 ? tr("%1:%2").arg(left / 60).arg(left % 60, 2, 10, QLatin1Char('0')) : QString());
    ErrorsLabel->setText(
        protocol->TotalErrors() == 0
            ? QStringLiteral("0")
            : tr("%1 (%2)").arg(protocol->TotalErrors()).arg(protocol->LastError()));
    const qint64 length = protocol->FileLength();
    Gauge->setValue(length > 0 ? static_cast<int>(protocol->BytesTransferred() * 100 / length) : 0);
    if (!protocol->FileName().isEmpty())
        StatusLabel->setText(tr("Empfange %1").arg(protocol->FileName()));
}

} // namespace comms
