#include "browser/AboutBox.h"

#include "browser/Artwork.h"
#include "browser/LogoForm.h"
#include "browser/WindowFonts.h"
#include "util/Paths.h"
#include "util/widgets/ButtonGlyphs.h"
#include "util/widgets/Controls.h"

#include <QFile>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <memory>

namespace browser {
namespace {

const QColor kShadowGrey(128, 128, 128);
const QColor kTitleBlue(0, 0, 255);

void SetTextColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

} // namespace

TCDAboutBox::TCDAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      dataDir_(QFile::decodeName(util::DataDir().c_str())) {
    setObjectName(QStringLiteral("CDAboutBox"));
    setWindowTitle(QStringLiteral("Kestrova Vitrine"));
    setFixedSize(339, 219);

    Panel = util::Placed(new QFrame(this), "Panel", 8, 8, 325, 165);
    Panel->setFrameStyle(QFrame::Box | QFrame::Sunken);

    ProgramIcon = util::Placed(new QLabel(Panel), "ProgramIcon", 8, 8, 64, 63);
    ProgramIcon->setScaledContents(true);
    ProgramIcon->setPixmap(VitrinePicture(QSize(128, 128)));

    // The grey copies first, so the blue ones lie above them and the grey looks like a shadow.
    const QFont title = TimesNewRoman(19, true);
    Label1 = CreateLabel("Label1", QStringLiteral("Kestrova Pandex"), title, {86, 8});
    ProductName = CreateLabel("ProductName", QStringLiteral("Kestrova Pandex"), title, {83, 5});
    Label9 = CreateLabel("Label9", QStringLiteral("CD - ROM"), title, {86, 31});
    Label10 = CreateLabel("Label10", QStringLiteral("CD - ROM"), title, {82, 29});
    for (QLabel* shadow : {Label1, Label9})
        SetTextColour(shadow, kShadowGrey);
    for (QLabel* name : {ProductName, Label10})
        SetTextColour(name, kTitleBlue);

    Version =
        CreateLabel("Version", QStringLiteral("Version 2.00"), MsSansSerif(11, true), {84, 56});

    const QFont notice = MsSansSerif(11, false);
    Label3 = CreateLabel("Label3", QStringLiteral("© 1996 Kestrova Software-Vertrieb GmbH"), notice,
                         {8, 84});
    Label4 = CreateLabel("Label4", QStringLiteral("Entwicklung: Jan Brückner, Mareike Oltmann"),
                         notice, {8, 100});
    Label5 = CreateLabel("Label5", QStringLiteral("Am Mühlenteich 12, 38999 Erlenhagen"), notice,
                         {8, 116});
    Label6 = CreateLabel("Label6",
                         QStringLiteral("Telefon (0 12 34) 56 78-0, Telefax (0 12 34) 56 78-99"),
                         notice, {8, 132});
    Label7 = CreateLabel("Label7", QStringLiteral("Mailbox (0 12 34) 56 78-77, 8N1 bis 28800 bps"),
                         notice, {8, 148});

    OKButton =
        util::Placed(new QPushButton(QStringLiteral("OK"), this), "OKButton", 8, 182, 325, 31);
    OKButton->setIcon(util::ButtonGlyph(util::TButtonGlyph::Check));
    OKButton->setFont(MsSansSerif(11, true));
    OKButton->setDefault(true);
    OKButton->setFocus();
    OKButton->installEventFilter(this);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    const QRect screen = this->screen()->availableGeometry();
    move(screen.center() - rect().center());
}

QLabel* TCDAboutBox::CreateLabel(const char* name, const QString& text, const QFont& font,
                                 QPoint at) {
    auto* label = util::Named(new QLabel(text, Panel), name);
    label->setFont(font);
    label->move(at);
    label->adjustSize();
    return label;
}

void TCDAboutBox::OKButtonKeyDown(int& key, Qt::KeyboardModifiers shift) {
    if (key != Qt::Key_I || !(shift & Qt::AltModifier))
        return;
    const auto logo = std::make_unique<TLogoForm>(this, dataDir_);
    logo->LoadImages();
    if (logo->ImagesLoaded())
        logo->exec();
    key = 0;
}

bool TCDAboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == OKButton && event->type() == QEvent::KeyPress) {
        int key = static_cast<QKeyEvent*>(event)->key();
        OKButtonKeyDown(key, static_cast<QKeyEvent*>(event)->modifiers());
        if (key == 0)
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace browser
