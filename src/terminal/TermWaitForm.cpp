#include "terminal/TermWaitForm.h"

#include "util/widgets/Controls.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace terminal {

using util::Placed;

TTermWaitForm::TTermWaitForm(QWidget* parent) : QWidget(parent, Qt::Dialog) {
    setObjectName(QStringLiteral("TermWaitForm"));
    setWindowTitle(QStringLiteral("[Terminal]  -  Bitte warten..."));
    setFixedSize(240, 60);
    setCursor(Qt::WaitCursor);
    Label1 =
        Placed(new QLabel(QStringLiteral("Teste Comport Nr.:"), this), "Label1", 16, 20, 150, 20);
    ComNrLabel = Placed(new QLabel(this), "ComNrLabel", 170, 20, 50, 20);
    ComNrLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label1->setCursor(Qt::WaitCursor);
    ComNrLabel->setCursor(Qt::WaitCursor);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TTermWaitForm::ShowPort(int number) {
    ComNrLabel->setText(QString::number(number));
    repaint();
}

} // namespace terminal
