#include "util/widgets/ProgressForm.h"

#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <gtest/gtest.h>

using util::ProgressForm;
using util::TProgressFormHolder;

namespace {

TEST(ProgressFormTest, StartsAtNoneOfAHundredWithItsTextShownWhole) {
    TProgressFormHolder holder;
    util::TProgressForm& form = *holder;
    EXPECT_TRUE(form.isWindow());
    EXPECT_EQ(form.Gauge->value(), form.Gauge->minimum());
    EXPECT_EQ(form.Gauge->maximum() - form.Gauge->minimum(), 100);
    EXPECT_LE(form.InfoLabel->sizeHint().width(), form.InfoLabel->width());
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
