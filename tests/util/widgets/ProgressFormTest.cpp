#include "util/widgets/ProgressForm.h"

#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QScreen>
#include <cstdlib>
#include <gtest/gtest.h>

using util::ProgressForm;
using util::TProgressFormHolder;

namespace {

TEST(ProgressFormTest, StartsAtNoneOfAHundredWithItsTextAndGaugeInside) {
    TProgressFormHolder holder;
    util::TProgressForm& form = *holder;
    EXPECT_TRUE(form.isWindow());
    EXPECT_EQ(form.Gauge->value(), form.Gauge->minimum());
    EXPECT_EQ(form.Gauge->maximum() - form.Gauge->minimum(), 100);
    EXPECT_TRUE(form.rect().contains(form.Gauge->geometry()));
    EXPECT_TRUE(form.rect().contains(form.InfoLabel->geometry()));
    EXPECT_LE(form.InfoLabel->sizeHint().width(), form.InfoLabel->width());
}

TEST(ProgressFormTest, IsCentredOnTheScreen) {
    TProgressFormHolder holder;
    holder->show();
    const QRect screen = holder->screen()->availableGeometry();
    EXPECT_LE(std::abs(holder->geometry().center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(holder->geometry().center().y() - screen.center().y()), 1);
}

TEST(ProgressFormTest, TheGlobalReferenceHoldsTheWindowWhileTheHolderLives) {
    EXPECT_EQ(ProgressForm(), nullptr);
    QPointer<util::TProgressForm> first;
    {
        TProgressFormHolder holder;
        first = ProgressForm();
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(&*holder, first.data());
        {
            TProgressFormHolder replacing;
            EXPECT_TRUE(first.isNull()) << "a window left in the reference is freed first";
            EXPECT_NE(ProgressForm(), nullptr);
        }
    }
    EXPECT_EQ(ProgressForm(), nullptr);
}

} // namespace
