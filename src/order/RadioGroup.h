// A group box of radio buttons made from a list of captions, with the index of the chosen one
// (-1 for none). Replacing the captions leaves none chosen.
#pragma once

#include <QGroupBox>
#include <QStringList>
#include <vector>

class QButtonGroup;
class QRadioButton;

namespace order {

class TRadioGroup : public QGroupBox {
    Q_OBJECT

public:
    TRadioGroup(const QString& caption, QWidget* parent);

    QStringList Items() const { return items_; }
    void SetItems(const QStringList& items);
    int ItemIndex() const;
    void SetItemIndex(int index);
    // The chosen caption; empty for none.
    QString ItemText() const;
    QRadioButton* Button(int index) const { return buttons_.at(index); }

signals:
    // The user chose an item.
    void Clicked();

private:
    QStringList items_;
    QButtonGroup* group_;
    std::vector<QRadioButton*> buttons_;
};

} // namespace order
