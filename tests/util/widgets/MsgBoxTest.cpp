#include "util/widgets/MsgBox.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <utility>
#include <vector>

using util::TMsgBox;

namespace {

// Executes the box; whileShown runs once the dialog is up and must end it.
int ExecuteWith(TMsgBox& box, const std::function<void(QDialog&)>& whileShown) {
    QTimer::singleShot(0, box.Form(), [&box, whileShown] { whileShown(*box.Form()); });
    return box.Execute();
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
        EXPECT_LE(text.right(), form.width());
        EXPECT_EQ(WindowHeight(form) - shortHeight, text.height() - lineHeight);
        EXPECT_EQ(form.height() - Button(form, "OKBtn")->parentWidget()->geometry().bottom(), 1)
            << "the button panel stays at the bottom";
        Button(form, "OKBtn")->click();
    });
}

TEST(MsgBoxTest, EachSetShowsItsButtonsInOrderInsideTheWindowAndEachGivesItsResult) {
    struct Case {
        util::TMSGButtons buttons;
        std::vector<QString> leftToRight;
        const char* pressed;
        int result;
    };
    const Case cases[] = {
        {util::msgOKCancel, {"OK", "Abbrechen"}, "CancelBtn", util::mrCancel},
        {util::msgYesNo, {"&Ja", "&Nein"}, "NoBtn", util::mrNo},
        {util::msgYesNoCancel, {"&Ja", "&Nein", "Abbrechen"}, "YesBtn", util::mrYes},
        {util::msgYesAllNoCancel, {"&Ja", "&Alle", "&Nein", "Abbrechen"}, "AllBtn", util::mrAll},
        {util::msgOK, {"OK"}, "OKBtn", util::mrOk},
    };
    TMsgBox box;
    box.SetCaption("Vitrine - Frage");
    box.SetMsg("Datei überschreiben?");
    for (const Case& c : cases) {
        box.SetButtons(c.buttons);
        const int result = ExecuteWith(box, [&c](QDialog& form) {
            EXPECT_EQ(form.windowTitle(), "Vitrine - Frage");
            std::vector<std::pair<int, std::string>> shown;
            for (const auto& [name, left] : VisibleButtonLefts(form))
                shown.emplace_back(left, name);
            std::sort(shown.begin(), shown.end());
            std::vector<QString> captions;
            int rightOfPrevious = 0;
            for (const auto& [left, name] : shown) {
                captions.push_back(Button(form, name.c_str())->text());
                EXPECT_GE(left, rightOfPrevious) << name << " overlaps, set " << c.buttons;
                rightOfPrevious = left + Button(form, name.c_str())->width();
            }
            EXPECT_EQ(captions, c.leftToRight) << "set " << c.buttons;
            EXPECT_LE(rightOfPrevious, PanelWidth(form)) << "set " << c.buttons;
            Button(form, c.pressed)->click();
        });
        EXPECT_EQ(result, c.result) << c.pressed;
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

TEST(MsgBoxTest, StaysAboveTheWindowActiveWhenItOpens) {
    QWidget window;
    window.show();
    window.activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &window);
    TMsgBox box;
    ExecuteWith(box, [&window](QDialog& form) {
        EXPECT_EQ(form.windowHandle()->transientParent(), window.windowHandle());
        form.close();
    });
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
