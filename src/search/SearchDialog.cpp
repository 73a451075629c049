#include "search/SearchDialog.h"

#include "browser/AnsiText.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace search {

namespace {

template <typename Widget>
Widget* Place(Widget* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(name);
    widget->setGeometry(left, top, width, height);
    return widget;
}

} // namespace

TSearchdlg::TSearchdlg(QWidget* parent) : QDialog(parent) {
    setObjectName("Searchdlg");
    setWindowTitle("Volltextsuche");
    setFixedSize(317, 192);
    QFont dialogFont("MS Sans Serif", 8);
    dialogFont.setBold(true);
    setFont(dialogFont);

    Bevel1 = Place(new QFrame(this), "Bevel1", 8, 8, 301, 137);
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Label1 = Place(new QLabel("Such&begriff:", this), "Label1", 20, 18, 120, 16);
    SearchEdit = Place(new QLineEdit(this), "SearchEdit", 20, 38, 277, 24);
    Label1->setBuddy(SearchEdit);
    SHintLabel1 = Place(new QLabel("\" + \" = And-Suche", this), "SHintLabel1", 20, 70, 277, 16);
    SHintLabel2 = Place(new QLabel("\" - \" = Or-Suche", this), "SHintLabel2", 20, 90, 277, 16);
    CaseSensiBox = Place(new QCheckBox("Groß/&Kleinschreibung beachten", this), "CaseSensiBox",
                         20, 114, 277, 22);
    OKBtn = Place(new QPushButton("OK", this), "OKBtn", 64, 154, 89, 30);
    OKBtn->setDefault(true);
    CancelBtn = Place(new QPushButton("Cancel", this), "CancelBtn", 164, 154, 89, 30);

    setTabOrder(SearchEdit, OKBtn);
    setTabOrder(OKBtn, CancelBtn);
    setTabOrder(CancelBtn, CaseSensiBox);
    connect(OKBtn, &QPushButton::clicked, this, &TSearchdlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

int TSearchdlg::Execute() { return exec() == QDialog::Accepted ? 1 : 2; }

void TSearchdlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    SearchEdit->selectAll();
    SearchEdit->setFocus();
}

void TSearchdlg::OKBtnClick() {
    SearchText = browser::QtToAnsi(SearchEdit->text());
    CaseSensitive = CaseSensiBox->isChecked();
    accept();
}

} // namespace search
