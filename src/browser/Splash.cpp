#include "browser/Splash.h"

#include "browser/Artwork.h"
#include "browser/WindowFonts.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QScreen>

namespace browser {

TCDSplash::TCDSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("CDSplash"));
    setFixedSize(289, 333);

    Panel = new QFrame(this);
    Panel->setObjectName(QStringLiteral("Panel"));
    Panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel->setLineWidth(2);
    Panel->setGeometry(rect());
    Panel->setCursor(Qt::WaitCursor);

    Image = new QLabel(Panel);
    Image->setObjectName(QStringLiteral("Image"));
    Image->setGeometry(23, 12, 239, 237);
    Image->setAlignment(Qt::AlignCenter);
    Image->setPixmap(VitrinePicture(Image->size()));

    Bevel1 = new QFrame(Panel);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    Bevel1->setGeometry(7, 295, 275, 2);

    Label2 = new QLabel(QStringLiteral("Kestrova Pandex CD"), Panel);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(TimesNewRoman(19, true));
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setGeometry(39, 262, 211, 23);

    Label1 = new QLabel(QStringLiteral("Lade Vitrine..."), Panel);
    Label1->setObjectName(QStringLiteral("Label1"));
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
