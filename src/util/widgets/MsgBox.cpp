#include "util/widgets/MsgBox.h"

#include "util/widgets/ButtonGlyphs.h"
#include "util/widgets/Controls.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <vector>

namespace util {
namespace {

constexpr int kFormWidth = 300;
constexpr int kFormHeight = 200;
constexpr int kPanelHeight = 41;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 28;
constexpr int kButtonGap = 4;
constexpr int kAllButtonExtra = 5;
constexpr int kTextMargin = 10;
constexpr int kTextTop = 20;
constexpr int kTextSpace = 50;
constexpr int kTextFlags = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;

// Assumed while the platform cannot yet tell the frame (before a window manager framed the
// window): a 3-pixel dialog frame and a 19-pixel caption above the client area.
const QMargins kAssumedFrame(3, 22, 3, 3);

} // namespace

// The dialog window. Its outer size (frame included) follows the box's rules; the frame itself
// is whatever the platform reports for the window.
// The box has no parent widget (its owner may be any object), so it names the window that was
// active when it opened as its transient parent: window managers then keep it above that window.
void KeepAboveActiveWindow(QDialog& form) {
    QWidget* active = QApplication::activeWindow();
    if (!active || active == &form)
        return;
    form.winId();
    form.windowHandle()->setTransientParent(active->windowHandle());
}

class TMsgBoxForm : public QDialog {
public:
    explicit TMsgBoxForm(TMsgBox& box) : box_(box) {
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
        SetWindowSize(kFormWidth, kFormHeight);
    }

    QMargins Frame() {
        winId(); // creates the platform window, which knows the frame where the platform can tell
        const QMargins frame = windowHandle()->frameMargins();
        return frame.isNull() ? kAssumedFrame : frame;
    }

    int WindowWidth() {
        const QMargins frame = Frame();
        return width() + frame.left() + frame.right();
    }

    void SetWindowSize(int windowWidth, int windowHeight) {
        const QMargins frame = Frame();
        setFixedSize(windowWidth - frame.left() - frame.right(),
                     windowHeight - frame.top() - frame.bottom());
    }

    void SetWindowWidth(int windowWidth) {
        const QMargins frame = Frame();
        SetWindowSize(windowWidth, height() + frame.top() + frame.bottom());
    }

    int BorderHeight() { return Frame().bottom(); }
    int CaptionHeight() {
        const QMargins frame = Frame();
        return frame.top() - frame.bottom();
    }

    void CentreOnScreen() {
        const QRect screen = this->screen()->availableGeometry();
        const QMargins frame = Frame();
        const QSize outer = size().grownBy(frame);
        move(screen.left() + (screen.width() - outer.width()) / 2,
             screen.top() + (screen.height() - outer.height()) / 2);
    }

    // Closing through the window frame ends the box like Cancel.
    void reject() override { done(mrCancel); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        box_.PaintText(painter);
    }

    // The button panel keeps to the bottom edge of the client area.
    void resizeEvent(QResizeEvent* event) override {
        QDialog::resizeEvent(event);
        if (box_.ButtonPanel)
            box_.ButtonPanel->move(box_.ButtonPanel->x(), height() - box_.ButtonPanel->height());
    }

    // Esc presses Cancel, or No where there is no Cancel; without either it does nothing.
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() != Qt::Key_Escape || event->modifiers() != Qt::NoModifier) {
            QDialog::keyPressEvent(event);
            return;
        }
        for (QPushButton* button : {box_.CancelBtn, box_.NoBtn})
            if (button->isVisibleTo(this)) {
                button->click();
                return;
            }
    }

private:
    TMsgBox& box_;
};

TMsgBox::TMsgBox(QObject* owner)
    : QObject(owner), caption_(QStringLiteral("Message")),
      form_(std::make_unique<TMsgBoxForm>(*this)) {
    form_->setWindowTitle(caption_);
    ButtonPanel = Placed(new QWidget(form_.get()), "ButtonPanel", 2, form_->height() - kPanelHeight,
                         form_->width() - 4, kPanelHeight);
    CreateButtons();
}

TMsgBox::~TMsgBox() = default;

QDialog* TMsgBox::Form() const {
    return form_.get();
}

void TMsgBox::CreateButtons() {
    OKBtn = CreateButton("OKBtn", QStringLiteral("OK"), mrOk);
    CancelBtn = CreateButton("CancelBtn", QStringLiteral("Abbrechen"), mrCancel);
    YesBtn = CreateButton("YesBtn", QStringLiteral("&Ja"), mrYes);
    NoBtn = CreateButton("NoBtn", QStringLiteral("&Nein"), mrNo);
    AllBtn = CreateButton("AllBtn", QStringLiteral("&Alle"), mrAll);
    OKBtn->setIcon(ButtonGlyph(TButtonGlyph::Check));
    CancelBtn->setIcon(ButtonGlyph(TButtonGlyph::Cross));
    YesBtn->setIcon(ButtonGlyph(TButtonGlyph::Check));
    NoBtn->setIcon(ButtonGlyph(TButtonGlyph::NoEntry));
    AllBtn->setIcon(ButtonGlyph(TButtonGlyph::DoubleCheck));
    OKBtn->setDefault(true);
    YesBtn->setDefault(true);
}

QPushButton* TMsgBox::CreateButton(const char* name, const QString& caption, int result) {
    auto* button = Placed(new QPushButton(caption, ButtonPanel), name, 0,
                          (kPanelHeight - kButtonHeight) / 2, kButtonWidth, kButtonHeight);
    connect(button, &QPushButton::clicked, form_.get(), [this, result] { form_->done(result); });
    return button;
}

int TMsgBox::Execute() {
    ArrangeButtons();
    form_->setWindowTitle(caption_);
    // The message is painted, not a label: screen readers read it from here.
    form_->setAccessibleDescription(msg_);
    MeasureText();
    form_->CentreOnScreen();
    KeepAboveActiveWindow(*form_);
    return form_->exec();
}

void TMsgBox::ArrangeButtons() {
    const auto fitPanel = [this] { ButtonPanel->resize(form_->width() - 4, kPanelHeight); };
    form_->SetWindowWidth(kFormWidth);
    fitPanel();

    std::vector<QPushButton*> visible;
    switch (buttons_) {
    case msgOK:
        visible = {OKBtn};
        break;
    case msgOKCancel:
        visible = {OKBtn, CancelBtn};
        break;
    case msgYesNo:
        visible = {YesBtn, NoBtn};
        break;
    case msgYesNoCancel:
        visible = {YesBtn, NoBtn, CancelBtn};
        break;
    case msgYesAllNoCancel:
        visible = {YesBtn, AllBtn, NoBtn, CancelBtn};
        form_->SetWindowWidth(kFormWidth + kAllButtonExtra + AllBtn->width());
        fitPanel();
        break;
    }

    for (QPushButton* button : {OKBtn, CancelBtn, YesBtn, NoBtn, AllBtn})
        button->setVisible(std::find(visible.begin(), visible.end(), button) != visible.end());

    const int panelWidth = ButtonPanel->contentsRect().width();
    if (visible.size() == 1) {
        visible.front()->move((panelWidth - visible.front()->width()) / 2, visible.front()->y());
    } else {
        const int count = static_cast<int>(visible.size());
        for (int i = 0; i < count; ++i) {
            const int fromRight = count - i;
            QPushButton* button = visible[i];
            button->move(panelWidth - fromRight * (button->width() + kButtonGap), button->y());
        }
    }
    // The leftmost button (OK or Yes) starts focused, so Enter presses it.
    visible.front()->setFocus();
}

void TMsgBox::MeasureText() {
    const int windowWidth = form_->WindowWidth();
    const QRect limit(0, 0, windowWidth - kTextMargin, 30);
    const QRect needed = form_->fontMetrics().boundingRect(limit, kTextFlags, msg_);
    textRect_ = QRect(0, 0, needed.width(), needed.height());

    form_->SetWindowSize(windowWidth, ButtonPanel->height() + textRect_.height() + kTextSpace +
                                          form_->BorderHeight() + form_->CaptionHeight());
    textRect_.translate((windowWidth - textRect_.width()) / 2, kTextTop);
}

void TMsgBox::PaintText(QPainter& painter) const {
    painter.fillRect(form_->rect(), form_->palette().window());
    painter.setPen(form_->palette().color(QPalette::WindowText));
    painter.drawText(textRect_, kTextFlags, msg_);
}

int ExecuteDialog(QDialog& dialog) {
    return dialog.exec() == QDialog::Accepted ? mrOk : mrCancel;
}

int ExecuteMsgBox(const QString& caption, const QString& msg, TMSGButtons buttons) {
    TMsgBox box;
    box.SetCaption(caption);
    box.SetMsg(msg);
    box.SetButtons(buttons);
    return box.Execute();
}

void ShowStandardMessage(QWidget* owner, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, owner);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.exec();
}

} // namespace util
