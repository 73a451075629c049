#include "util/widgets/MLHint.h"

#include "util/widgets/ApplicationHints.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>
#include <memory>

using util::TMLHint;

namespace {

QLabel* ToolTipLabel() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == "qtooltip_label" && widget->isVisible())
            return qobject_cast<QLabel*>(widget);
    }
    return nullptr;
}

class MultiLineHints : public testing::Test {
protected:
    MultiLineHints() {
        button.setToolTip("Sie bezahlen die Rechnung spätestens@14 Tage nach Erhalt ohne "
                          "Abzüge@auf unser Konto.");
        button.show();
    }
    ~MultiLineHints() override {
        QToolTip::hideText();
        util::SetApplicationShowHint(true);
    }

    // Asks for the button's tooltip as the mouse resting on it does; its text, empty for none.
    QString ShownHint() {
        QToolTip::hideText();
        QHelpEvent request(QEvent::ToolTip, QPoint(2, 2), button.mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(&button, &request);
        const QLabel* label = ToolTipLabel();
        return label != nullptr ? label->text() : QString();
    }

    QPushButton button{"Rechnung"};
};

TEST_F(MultiLineHints, EverySeparatorBecomesALineBreak) {
    TMLHint hints;
    EXPECT_EQ(ShownHint(), "Sie bezahlen die Rechnung spätestens\n14 Tage nach Erhalt ohne "
                           "Abzüge\nauf unser Konto.");
    // The tooltip window really is three lines high.
    const QLabel* label = ToolTipLabel();
    ASSERT_NE(label, nullptr);
    const int lineHeight = QFontMetrics(label->font()).lineSpacing();
    EXPECT_GE(label->sizeHint().height(), 3 * lineHeight);
    EXPECT_LT(label->sizeHint().height(), 4 * lineHeight);

    button.setToolTip("Drucken des Formulars@(Faxen mit Faxdruckertreiber)");
    EXPECT_EQ(ShownHint(), "Drucken des Formulars\n(Faxen mit Faxdruckertreiber)");
    button.setToolTip("Bestellen");
    EXPECT_EQ(ShownHint(), "Bestellen");
}

TEST_F(MultiLineHints, InactiveHintsPassUnchanged) {
    TMLHint hints;
    hints.Active = false;
    button.setToolTip("a@b");
    EXPECT_EQ(ShownHint(), "a@b");
}

TEST_F(MultiLineHints, InstancesNestAndEachRestoresTheHandlerItFound) {
    EXPECT_FALSE(util::ApplicationOnShowHint());
    button.setToolTip("a@b#c");
    auto outer = std::make_unique<TMLHint>();
    auto inner = std::make_unique<TMLHint>();
    inner->Separator = u'#';
    // The newest handler alone runs; it does not call the one it found.
    EXPECT_EQ(ShownHint(), "a@b\nc");
    inner.reset();
    EXPECT_EQ(ShownHint(), "a\nb#c");
    outer.reset();
    EXPECT_FALSE(util::ApplicationOnShowHint());
    EXPECT_EQ(ShownHint(), "a@b#c");
}

TEST_F(MultiLineHints, SwitchingTooltipsOffHidesThemAtOnce) {
    TMLHint hints;
    ASSERT_FALSE(ShownHint().isEmpty());
    util::SetApplicationShowHint(false);
    EXPECT_TRUE(QTest::qWaitFor([] { return ToolTipLabel() == nullptr; }, 2000));
    EXPECT_EQ(ShownHint(), "");
    util::SetApplicationShowHint(true);
    EXPECT_NE(ShownHint(), "");
}

} // namespace
