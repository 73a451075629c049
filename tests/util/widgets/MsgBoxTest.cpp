#include "util/widgets/MsgBox.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>

using util::TMsgBox;

namespace {

constexpr int kButtonStep = 75 + 4; // button width and the gap before the next one

// Executes the box; whileShown runs once the dialog is up and must end it.
int ExecuteWith(TMsgBox& box, const std::function<void(QDialog&)>& whileShown) {
    QTimer::singleShot(0, box.Form(), [&box, whileShown] { whileShown(*box.Form()); });
    return box.Execute();
}

QMargins Frame(QDialog& form) {
    return form.windowHandle()->frameMargins();
}
int WindowWidth(QDialog& form) {
    return form.frameGeometry().width();
}
int WindowHeight(QDialog& form) {
    return form.frameGeometry().height();
}

QPushButton* Button(QDialog& form, const char* name) {
    return form.findChild<QPushButton*>(QLatin1String(name));
}

int PanelWidth(QDialog& form) {
    return form.findChild<QWidget*>("ButtonPanel")->width();
}

void PressKey(QDialog& form, int key) {
    QWidget* target = form.focusWidget() ? form.focusWidget() : &form;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

// The visible buttons of the shown box, by name, with their left edges.
std::map<std::string, int> VisibleButtonLefts(QDialog& form) {
    std::map<std::string, int> lefts;
    for (const char* name : {"OKBtn", "CancelBtn", "YesBtn", "NoBtn", "AllBtn"})
        if (Button(form, name)->isVisible())
            lefts[name] = Button(form, name)->x();
    return lefts;
}

TEST(MsgBoxTest, StartsWithCaptionMessageAndOneOKButton) {
    TMsgBox box;
    EXPECT_EQ(box.Caption(), "Message");
    EXPECT_TRUE(box.Msg().isEmpty());
    EXPECT_EQ(box.Buttons(), util::msgOK);
    EXPECT_FALSE(box.Form()->isVisible());
}

TEST(MsgBoxTest, OneLineMessageGivesA300PixelWindowWithCentredTextAndOKButton) {
    TMsgBox box;
    box.SetCaption("Vitrine - Fehler");
    box.SetMsg("Datenbank nicht gefunden!");
    const int result = ExecuteWith(box, [&box](QDialog& form) {
        EXPECT_EQ(form.windowTitle(), "Vitrine - Fehler");
        EXPECT_EQ(WindowWidth(form), 300);
        const int clientWidth = 300 - Frame(form).left() - Frame(form).right();
        EXPECT_EQ(form.width(), clientWidth);
        EXPECT_EQ(PanelWidth(form), clientWidth - 4);
        const std::map<std::string, int> expected{{"OKBtn", (clientWidth - 4 - 75) / 2}};
        EXPECT_EQ(VisibleButtonLefts(form), expected);

        const QRect text = box.TextRect();
        EXPECT_EQ(text.top(), 20);
        EXPECT_EQ(text.height(), form.fontMetrics().height());
        EXPECT_EQ(text.left(), (300 - text.width()) / 2);
        // Text, 50 pixels and the panel fill the window inside its frame borders and caption.
        EXPECT_EQ(WindowHeight(form), 41 + text.height() + 50 + Frame(form).top());
        Button(form, "OKBtn")->click();
    });
    EXPECT_EQ(result, util::mrOk);
}

TEST(MsgBoxTest, LongMessageWrapsIntoLinesAndTheWindowGrows) {
    TMsgBox box;
    box.SetMsg("kurz");
    int shortHeight = 0;
    ExecuteWith(box, [&](QDialog& form) {
        shortHeight = WindowHeight(form);
        Button(form, "OKBtn")->click();
    });

    box.SetMsg(QString("Die Datei konnte nicht kopiert werden, weil das Ziel schreibgeschützt "
                       "ist. ")
                   .repeated(4));
    ExecuteWith(box, [&](QDialog& form) {
        const QRect text = box.TextRect();
        const int lineHeight = form.fontMetrics().height();
        EXPECT_GE(text.height(), 4 * lineHeight);
        EXPECT_LE(text.width(), 300 - 10);
        EXPECT_EQ(WindowWidth(form), 300);
        EXPECT_EQ(WindowHeight(form) - shortHeight, text.height() - lineHeight);
        EXPECT_EQ(form.height() - Button(form, "OKBtn")->parentWidget()->geometry().bottom(), 1)
            << "the button panel stays at the bottom";
        Button(form, "OKBtn")->click();
    });
}

TEST(MsgBoxTest, YesAllNoCancelWidensTheWindowAndTheNextSetRestores300) {
    TMsgBox box;
    box.SetMsg("Datei überschreiben?");
    box.SetButtons(util::msgYesAllNoCancel);
    ExecuteWith(box, [](QDialog& form) {
        EXPECT_EQ(WindowWidth(form), 300 + 5 + Button(form, "AllBtn")->width());
        Button(form, "AllBtn")->click();
    });
    box.SetButtons(util::msgYesNo);
    ExecuteWith(box, [](QDialog& form) {
        EXPECT_EQ(WindowWidth(form), 300);
        Button(form, "NoBtn")->click();
    });
}

TEST(MsgBoxTest, EachSetShowsItsButtonsPlacedFromTheRight) {
    struct Case {
        util::TMSGButtons buttons;
        std::vector<const char*> leftToRight;
    };
    const Case cases[] = {
        {util::msgOKCancel, {"OKBtn", "CancelBtn"}},
        {util::msgYesNo, {"YesBtn", "NoBtn"}},
        {util::msgYesNoCancel, {"YesBtn", "NoBtn", "CancelBtn"}},
        {util::msgYesAllNoCancel, {"YesBtn", "AllBtn", "NoBtn", "CancelBtn"}},
    };
    TMsgBox box;
    for (const Case& c : cases) {
        box.SetButtons(c.buttons);
        ExecuteWith(box, [&c](QDialog& form) {
            const int panelWidth = form.width() - 4;
            EXPECT_EQ(PanelWidth(form), panelWidth);
            std::map<std::string, int> expected;
            const int count = static_cast<int>(c.leftToRight.size());
            for (int i = 0; i < count; ++i)
                expected[c.leftToRight[i]] = panelWidth - (count - i) * kButtonStep;
            EXPECT_EQ(VisibleButtonLefts(form), expected) << "set " << c.buttons;
            form.close();
        });
    }
}

TEST(MsgBoxTest, ButtonsCarryTheirCaptionsAndResults) {
    const std::map<const char*, std::pair<QString, int>> buttons{
        {"OKBtn", {"OK", util::mrOk}},      {"CancelBtn", {"Abbrechen", util::mrCancel}},
        {"YesBtn", {"&Ja", util::mrYes}},   {"NoBtn", {"&Nein", util::mrNo}},
        {"AllBtn", {"&Alle", util::mrAll}},
    };
    TMsgBox box;
    for (const auto& [name, captionAndResult] : buttons) {
        box.SetButtons(name == std::string("OKBtn") ? util::msgOKCancel : util::msgYesAllNoCancel);
        const int result =
            ExecuteWith(box, [name = name, caption = captionAndResult.first](QDialog& form) {
                EXPECT_EQ(Button(form, name)->text(), caption);
                Button(form, name)->click();
            });
        EXPECT_EQ(result, captionAndResult.second) << name;
    }
}

TEST(MsgBoxTest, EnterPressesOKOrYesAndEscPressesCancelOrNo) {
    struct Case {
        util::TMSGButtons buttons;
        int key;
        int result;
    };
    const Case cases[] = {
        {util::msgOK, Qt::Key_Return, util::mrOk},
        {util::msgOKCancel, Qt::Key_Return, util::mrOk},
        {util::msgOKCancel, Qt::Key_Escape, util::mrCancel},
        {util::msgYesNo, Qt::Key_Enter, util::mrYes},
        {util::msgYesNo, Qt::Key_Escape, util::mrNo},
        {util::msgYesNoCancel, Qt::Key_Return, util::mrYes},
        {util::msgYesNoCancel, Qt::Key_Escape, util::mrCancel},
        {util::msgYesAllNoCancel, Qt::Key_Return, util::mrYes},
        {util::msgYesAllNoCancel, Qt::Key_Escape, util::mrCancel},
    };
    TMsgBox box;
    for (const Case& c : cases) {
        box.SetButtons(c.buttons);
        const int result = ExecuteWith(box, [&c](QDialog& form) { PressKey(form, c.key); });
        EXPECT_EQ(result, c.result) << "set " << c.buttons << ", key " << c.key;
    }
}

TEST(MsgBoxTest, EscWithOnlyAnOKButtonLeavesTheBoxOpen) {
    TMsgBox box;
    const int result = ExecuteWith(box, [](QDialog& form) {
        PressKey(form, Qt::Key_Escape);
        EXPECT_TRUE(form.isVisible());
        PressKey(form, Qt::Key_Return);
    });
    EXPECT_EQ(result, util::mrOk);
}

TEST(MsgBoxTest, ClosingThroughTheWindowFrameReturnsCancel) {
    TMsgBox box;
    for (util::TMSGButtons buttons : {util::msgOK, util::msgYesNo}) {
        box.SetButtons(buttons);
        EXPECT_EQ(ExecuteWith(box, [](QDialog& form) { form.close(); }), util::mrCancel);
    }
}

TEST(MsgBoxTest, OwnerFreesTheBoxAndItsWindow) {
    auto* owner = new QObject;
    QPointer<TMsgBox> box = new TMsgBox(owner);
    QPointer<QDialog> form = box->Form();
    delete owner;
    EXPECT_TRUE(box.isNull());
    EXPECT_TRUE(form.isNull());
}

} // namespace
