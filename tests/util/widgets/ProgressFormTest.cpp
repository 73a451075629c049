#include "util/widgets/ProgressForm.h"

#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QScreen>
#include <cstdlib>
#include <gtest/gtest.h>

using util::ProgressForm;
using util::TProgressFormHolder;

namespace {

TEST(ProgressFormTest, IsASmallFramelessWindowOnTopWithItsControls) {
    TProgressFormHolder holder;
    util::TProgressForm& form = *holder;
    EXPECT_EQ(form.size(), QSize(232, 49));
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(form.isWindow());

    EXPECT_EQ(form.Panel->geometry(), QRect(0, 0, 232, 49));
    EXPECT_EQ(form.Panel->lineWidth(), 2);
    EXPECT_EQ(form.Gauge->geometry(), QRect(7, 23, 216, 20));
    EXPECT_EQ(form.Gauge->minimum(), 0);
    EXPECT_EQ(form.Gauge->maximum(), 100);
    EXPECT_EQ(form.Gauge->value(), 0);
    EXPECT_EQ(form.InfoLabel->geometry(), QRect(2, 2, 225, 16));
    EXPECT_EQ(form.InfoLabel->text(), "Drucke Text...");
    EXPECT_EQ(form.InfoLabel->alignment(), Qt::AlignCenter);
    EXPECT_EQ(form.findChild<QProgressBar*>("Gauge"), form.Gauge);
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
