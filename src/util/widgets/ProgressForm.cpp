#include "util/widgets/ProgressForm.h"

#include "util/widgets/Controls.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <memory>

namespace util {
namespace {

std::unique_ptr<TProgressForm>& GlobalProgressForm() {
    static std::unique_ptr<TProgressForm> form;
    return form;
}

QFont SystemFont() {
    QFont font(QStringLiteral("System"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(13);
    font.setBold(true);
    return font;
}

} // namespace

TProgressForm::TProgressForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("ProgressForm"));
    setFixedSize(232, 49);
    setFont(SystemFont());

    Panel = Named(new QFrame(this), "Panel");
    Panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel->setLineWidth(2);
    Panel->setGeometry(rect());

    Gauge = Placed(new QProgressBar(Panel), "Gauge", 7, 23, 216, 20);
    Gauge->setRange(0, 100);
    Gauge->setValue(0);
    Gauge->setAlignment(Qt::AlignCenter);
    Gauge->setStyleSheet(QStringLiteral("QProgressBar { background-color: navy; color: black; "
                                        "border: 1px solid black; }"
                                        "QProgressBar::chunk { background-color: yellow; }"));

    InfoLabel =
        Placed(new QLabel(QStringLiteral("Drucke Text..."), Panel), "InfoLabel", 2, 2, 225, 16);
    InfoLabel->setAlignment(Qt::AlignCenter);

    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    move(screen.center() - rect().center());
}

TProgressForm* ProgressForm() {
    return GlobalProgressForm().get();
}

TProgressFormHolder::TProgressFormHolder() {
    GlobalProgressForm() = std::make_unique<TProgressForm>();
}

TProgressFormHolder::~TProgressFormHolder() {
    GlobalProgressForm().reset();
}

} // namespace util
