#include "search/SearchDialog.h"

#include "platform/CodePage.h"
#include "util/widgets/Controls.h"
#include "util/widgets/MsgBox.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <optional>

namespace search {

TSearchdlg::TSearchdlg(QWidget* parent) : QDialog(parent) {
    setObjectName("Searchdlg");
    setWindowTitle("Volltextsuche");
    setFixedSize(317, 192);
    QFont dialogFont("MS Sans Serif", 8);
    dialogFont.setBold(true);
    setFont(dialogFont);

    Bevel1 = util::Placed(new QFrame(this), "Bevel1", 8, 8, 301, 137);
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Label1 = util::Placed(new QLabel("Such&begriff:", this), "Label1", 20, 18, 120, 16);
    SearchEdit = util::Placed(new QLineEdit(this), "SearchEdit", 20, 38, 277, 24);
    Label1->setBuddy(SearchEdit);
    SHintLabel1 =
        util::Placed(new QLabel("\" + \" = And-Suche", this), "SHintLabel1", 20, 70, 277, 16);
    SHintLabel2 =
        util::Placed(new QLabel("\" - \" = Or-Suche", this), "SHintLabel2", 20, 90, 277, 16);
    CaseSensiBox = util::Placed(new QCheckBox("Groß/&Kleinschreibung beachten", this),
                                "CaseSensiBox", 20, 114, 277, 22);
    OKBtn = util::Placed(new QPushButton("OK", this), "OKBtn", 64, 154, 89, 30);
    OKBtn->setDefault(true);
    CancelBtn = util::Placed(new QPushButton("Abbrechen", this), "CancelBtn", 164, 154, 89, 30);

    setTabOrder(SearchEdit, OKBtn);
    setTabOrder(OKBtn, CancelBtn);
    setTabOrder(CancelBtn, CaseSensiBox);
    connect(OKBtn, &QPushButton::clicked, this, &TSearchdlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

int TSearchdlg::Execute() {
    return util::ExecuteDialog(*this);
}

void TSearchdlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    SearchEdit->selectAll();
    SearchEdit->setFocus();
}

void TSearchdlg::OKBtnClick() {
    // The catalogue's text is Windows-1252: a character outside it could only be searched as a
    // stand-in, which would find other text. The dialog stays open for a correction.
    const std::optional<std::string> expression =
        platform::Utf8ToAnsi1252(SearchEdit->text().toStdString());
    if (!expression) {
        util::ExecuteMsgBox(QStringLiteral("Volltextsuche"),
                            QStringLiteral("Der Suchbegriff enthält Zeichen, die im Katalog nicht "
                                           "vorkommen können. Bitte ändern Sie den Suchbegriff."));
        SearchEdit->setFocus();
        return;
    }
    SearchText = *expression;
    CaseSensitive = CaseSensiBox->isChecked();
    accept();
}

} // namespace search
