#include "order/RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>

namespace order {

namespace {

constexpr int kFirstTop = 20;
constexpr int kRowHeight = 22;
constexpr int kLeft = 10;

} // namespace

TRadioGroup::TRadioGroup(const QString& caption, QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)) {
    connect(group_, &QButtonGroup::buttonClicked, this, &TRadioGroup::Clicked);
}

void TRadioGroup::SetItems(const QStringList& items) {
    for (QRadioButton* button : buttons_)
        delete button;
    buttons_.clear();
    items_ = items;
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        button->setGeometry(kLeft, kFirstTop + i * kRowHeight, width() - 2 * kLeft, kRowHeight);
        group_->addButton(button, i);
        button->show();
        buttons_.push_back(button);
    }
}

int TRadioGroup::ItemIndex() const {
    return group_->checkedId();
}

void TRadioGroup::SetItemIndex(int index) {
    if (index >= 0 && index < static_cast<int>(buttons_.size()))
        buttons_[index]->setChecked(true);
}

QString TRadioGroup::ItemText() const {
    const int index = ItemIndex();
    return index >= 0 ? items_.at(index) : QString();
}

} // namespace order
