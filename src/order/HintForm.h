// THintForm: free-text remarks for the maker. Its memo's lines are the remarks of the order.
#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace order {

class THintForm : public QDialog {
    Q_OBJECT

public:
    explicit THintForm(QWidget* parent = nullptr);

    // The memo's lines: none for an empty memo; a line break at the very end starts no line.
    QStringList Lines() const;

    QLabel* HeadingPanel;
    QPlainTextEdit* HintMemo;
    QPushButton* BitBtn1;

protected:
    void resizeEvent(QResizeEvent* event) override;
};

} // namespace order
