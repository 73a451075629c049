#include "browser/WideInfoForm.h"

#include "browser/AnsiText.h"
#include "browser/SplitControl.h"
#include "catalog/Records.h"
#include "util/widgets/Controls.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>

namespace browser {

using util::Named;
using util::Placed;

namespace {

QPlainTextEdit* ReadOnlyMemo(QWidget* parent, const char* name, QRect geometry) {
    auto* memo = Named(new QPlainTextEdit(parent), name);
    memo->setReadOnly(true);
    memo->setGeometry(geometry);
    return memo;
}

QLabel* SplitterBar(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
    auto* bar = Named(new QLabel(caption, parent), name);
    bar->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bar->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    bar->setCursor(Qt::SplitVCursor);
    bar->setGeometry(geometry);
    return bar;
}

void ShowLines(QPlainTextEdit* memo, const rtl::TStringList& lines) {
    QStringList text;
    for (const auto& line : lines)
        text << AnsiToQt(line.text);
    memo->setPlainText(text.join(QLatin1Char('\n')));
    memo->moveCursor(QTextCursor::Start);
}

} // namespace

TWideInfoForm::TWideInfoForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("WideInfoForm"));
    resize(590, 443);
    WidePanel = Named(new QFrame(this), "WidePanel");
    WideScroll = Named(new QScrollArea(WidePanel), "WideScroll");
    WideScroll->setFrameShape(QFrame::NoFrame);
    WideScrollContent = Named(new QWidget, "WideScrollContent");
    WideScroll->setWidget(WideScrollContent);
    QWidget* box = WideScrollContent;

    ReviewLabel =
        Named(new QLabel(QStringLiteral("persönliche Einschätzung:"), box), "ReviewLabel");
    ReviewLabel->adjustSize();
    ReviewLabel->move(4, 12);
    BackBtn = Placed(new QPushButton(QStringLiteral("&Zurück"), box), "BackBtn", 480, 2, 89, 27);
    connect(BackBtn, &QPushButton::clicked, this, &TWideInfoForm::BackBtnClick);
    ReViewMemo = ReadOnlyMemo(box, "ReViewMemo", QRect(0, 34, 572, 65));
    ReViewMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    UpperSplitter = SplitterBar(box, "UpperSplitter", QStringLiteral("Installationshinweise:"),
                                QRect(1, 102, 571, 19));
    InstallMemo = ReadOnlyMemo(box, "InstallMemo", QRect(0, 122, 573, 96));
    LowerSplitter = SplitterBar(box, "LowerSplitter", QStringLiteral("Komponentenbeschreibung:"),
                                QRect(0, 219, 571, 19));
    LongInfoMemo = ReadOnlyMemo(box, "LongInfoMemo", QRect(0, 262, 576, 148));
    UpperSplitter->installEventFilter(this);
    LowerSplitter->installEventFilter(this);
    FormCreate();
    FormResize();
}

TWideInfoForm::~TWideInfoForm() = default;

void TWideInfoForm::FormCreate() {
    // No command to minimize in the window menu.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    LowerSplit = std::make_unique<TSplitControl>(this);
    ArrangeLower();
    UpperSplit = std::make_unique<TSplitControl>(this);
    ArrangeUpper();
}

void TWideInfoForm::Fill(const catalog::TCompoText& compo) {
    ShowLines(LongInfoMemo, compo.LongInfo);
    ShowLines(InstallMemo, compo.Installation);
    ShowLines(ReViewMemo, compo.Review);
    setWindowTitle(QStringLiteral("Detailansicht der Komponente: ") + AnsiToQt(compo.LongName));
}

void TWideInfoForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

void TWideInfoForm::FormResize() {
    WidePanel->setGeometry(0, 0, width(), height());
    WideScroll->setGeometry(0, 0, WidePanel->width(), WidePanel->height());
    WideScrollContent->resize(WideScroll->width(), WideScroll->height());
    const int panelWidth = WidePanel->width();
    BackBtn->move(panelWidth - BackBtn->width() - 2, BackBtn->y());
    InstallMemo->resize(panelWidth - 2, InstallMemo->height());
    ReViewMemo->resize(panelWidth - 2, ReViewMemo->height());
    ArrangeLower();
    ArrangeUpper();
}

void TWideInfoForm::ArrangeLower() {
    LowerSplitter->setGeometry(LowerSplitter->x(), InstallMemo->y() + InstallMemo->height(),
                               WidePanel->width() - LowerSplitter->x(), LowerSplitter->height());
    const int clientHeight = WideScrollContent->height();
    const int memoHeight = clientHeight - (LowerSplitter->y() + LowerSplitter->height() + 1) - 4;
    // Bottom-aligned: the memo spans the width and its top follows its height.
    LongInfoMemo->setGeometry(0, clientHeight - memoHeight, WideScrollContent->width(), memoHeight);
}

void TWideInfoForm::ArrangeUpper() {
    UpperSplitter->setGeometry(UpperSplitter->x(), ReViewMemo->y() + ReViewMemo->height(),
                               WidePanel->width() - UpperSplitter->x(), UpperSplitter->height());
    // The memo ends where the lower bar begins: one pixel more would push the bar down by one on
    // every arrangement, since the bar is placed at the memo's bottom.
    const int y = UpperSplitter->y() + UpperSplitter->height() + 1;
    InstallMemo->setGeometry(InstallMemo->x(), y, WidePanel->width() - InstallMemo->x(),
                             LowerSplitter->y() - y);
}

void TWideInfoForm::BackBtnClick() {
    hide();
}

void TWideInfoForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        BackBtnClick();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool TWideInfoForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == LowerSplitter || watched == UpperSplitter)
        return SplitterMouseEvent(static_cast<QLabel*>(watched), event);
    return QWidget::eventFilter(watched, event);
}

bool TWideInfoForm::SplitterMouseEvent(QLabel* splitter, QEvent* event) {
    const bool lower = splitter == LowerSplitter;
    TSplitControl& split = lower ? *LowerSplit : *UpperSplit;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->buttons() == Qt::LeftButton && mouse->modifiers() == Qt::NoModifier) {
            split.BeginSplit(splitter, lower ? InstallMemo : ReViewMemo);
            return true;
        }
        return false;
    }
    case QEvent::MouseMove:
        if (split.Splitting()) {
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            split.MoveSplit(at.x(), at.y());
            return true;
        }
        return false;
    case QEvent::MouseButtonRelease:
        if (split.Splitting()) {
            split.EndSplit();
            if (lower)
                ArrangeLower();
            else
                ArrangeUpper();
            return true;
        }
        return false;
    default:
        return false;
    }
}

} // namespace browser
