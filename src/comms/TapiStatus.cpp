#include "comms/TapiStatus.h"

#include "util/widgets/Controls.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace comms {

TTapiStatus::TTapiStatus(QWidget* parent) : QWidget(parent, Qt::Dialog) {
    setObjectName(QStringLiteral("TapiStatus"));
    setFixedSize(320, 60);
    StatusLabel = util::Placed(new QLabel(this), "StatusLabel", 12, 12, 296, 36);
    StatusLabel->setWordWrap(true);
}

void TTapiStatus::Start(const QString& caption) {
    setWindowTitle(caption);
    StatusLabel->clear();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    move(screen.center() - rect().center());
    show();
}

void TTapiStatus::ShowText(const QString& text) {
    StatusLabel->setText(text);
}

void TTapiStatus::Finish() {
    hide();
}

} // namespace comms
