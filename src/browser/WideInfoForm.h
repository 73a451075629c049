// TWideInfoForm: the wide detail window of a component: review, installation notes and long
// description in three memos, the two bars between them working as splitters.
#pragma once

#include <QWidget>
#include <memory>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;

namespace catalog {
class TCompoText;
}

namespace browser {

class TSplitControl;

class TWideInfoForm : public QWidget {
    Q_OBJECT

public:
    explicit TWideInfoForm(QWidget* parent = nullptr);
    ~TWideInfoForm() override;

    // The three texts and the caption of the component (the window is not shown).
    void Fill(const catalog::TCompoText& compo);

    void FormResize();
    void ArrangeLower();
    void ArrangeUpper();
    void BackBtnClick();

    QFrame* WidePanel;
    QScrollArea* WideScroll;
    QWidget* WideScrollContent;
    QLabel* ReviewLabel;
    QPushButton* BackBtn;
    QPlainTextEdit* ReViewMemo;
    QLabel* UpperSplitter;
    QPlainTextEdit* InstallMemo;
    QLabel* LowerSplitter;
    QPlainTextEdit* LongInfoMemo;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    bool SplitterMouseEvent(QLabel* splitter, QEvent* event);

    std::unique_ptr<TSplitControl> LowerSplit;
    std::unique_ptr<TSplitControl> UpperSplit;
};

} // namespace browser
