#include "browser/Splash.h"

#include "browser/Artwork.h"
#include "browser/WindowFonts.h"
#include "util/widgets/Controls.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QScreen>

namespace browser {

TCDSplash::TCDSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("CDSplash"));
    // Not the application's title, which the window system would show otherwise: only the main
    // window carries that, so a script waiting for it never takes the splash for it.
    setWindowTitle(QStringLiteral("Lade Vitrine..."));
    setFixedSize(289, 333);

    Panel = util::Named(new QFrame(this), "Panel");
    Panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel->setLineWidth(2);
    Panel->setGeometry(rect());
    Panel->setCursor(Qt::WaitCursor);

    Image = util::Placed(new QLabel(Panel), "Image", 23, 12, 239, 237);
    Image->setAlignment(Qt::AlignCenter);
    Image->setPixmap(VitrinePicture(Image->size()));

    Bevel1 = util::Placed(new QFrame(Panel), "Bevel1", 7, 295, 275, 2);
    Bevel1->setFrameStyle(QFrame::HLine | QFrame::Sunken);

    Label2 = util::Placed(new QLabel(QStringLiteral("Kestrova Pandex CD"), Panel), "Label2", 39,
                          262, 211, 23);
    Label2->setFont(TimesNewRoman(19, true));
    Label2->setAlignment(Qt::AlignCenter);

    Label1 = util::Named(new QLabel(QStringLiteral("Lade Vitrine..."), Panel), "Label1");
    Label1->setFont(TimesNewRoman(16, false));
    Label1->move(86, 303);
    Label1->adjustSize();

    for (QLabel* label : {Label1, Label2})
        label->setStyleSheet(QStringLiteral("color: black;"));

    const QRect screen = this->screen()->availableGeometry();
    move(screen.center() - rect().center());
    FormCreate();
}

TCDSplash::~TCDSplash() {
    FormDestroy();
}

void TCDSplash::FormCreate() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void TCDSplash::FormDestroy() {
    QApplication::restoreOverrideCursor();
}

} // namespace browser
