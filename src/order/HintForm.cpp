#include "order/HintForm.h"

#include "browser/EntryOutput.h"
#include "util/widgets/ButtonGlyphs.h"
#include "util/widgets/Controls.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace order {

namespace {

constexpr int kMargin = 6;
constexpr int kHeadingHeight = 28;
constexpr int kButtonHeight = 28;

} // namespace

THintForm::THintForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("HintForm"));
    setWindowTitle(QStringLiteral("Vorschläge an Kestrova Software"));
    resize(420, 300);
    HeadingPanel = util::Named(
        new QLabel(QStringLiteral("Folgende Vorschläge möchte ich Ihnen mitteilen:"), this),
        "HeadingPanel");
    HeadingPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    HeadingPanel->setIndent(kMargin);
    HintMemo = util::Named(new QPlainTextEdit(this), "HintMemo");
    BitBtn1 = util::Named(
        new QPushButton(util::ButtonGlyph(util::TButtonGlyph::Check), QStringLiteral("&OK"), this),
        "BitBtn1");
    BitBtn1->setAutoDefault(false);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    HintMemo->setFocus();
}

void THintForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    HeadingPanel->setGeometry(0, 0, width(), kHeadingHeight);
    const int buttonTop = height() - kButtonHeight - kMargin;
    HintMemo->setGeometry(kMargin, kHeadingHeight + kMargin, width() - 2 * kMargin,
                          buttonTop - kHeadingHeight - 2 * kMargin);
    BitBtn1->setGeometry((width() - 90) / 2, buttonTop, 90, kButtonHeight);
}

QStringList THintForm::Lines() const {
    return browser::TextLines(HintMemo->toPlainText());
}

} // namespace order
