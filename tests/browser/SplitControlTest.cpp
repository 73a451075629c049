#include "browser/SplitControl.h"

#include <QWidget>
#include <gtest/gtest.h>

using browser::TSplitControl;

namespace {

// A window with a target panel and a splitter bar beside (or below) it, as the windows lay out.
class SplitWindow {
public:
    SplitWindow(QRect target, QRect bar) : Target(&form), Bar(&form) {
        form.resize(500, 400);
        Target.setGeometry(target);
        Bar.setGeometry(bar);
        form.show();
    }

    QWidget* SplitLine() { return form.findChild<QWidget*>("SplitLine"); }

    QWidget form;
    QWidget Target;
    QWidget Bar;
};

TEST(SplitControlTest, DraggingTheBar50PixelsRightWidensTheTargetBy50) {
    SplitWindow window({1, 29, 176, 300}, {177, 29, 3, 300});
    TSplitControl split(&window.form);
    EXPECT_FALSE(split.Splitting());

    split.BeginSplit(&window.Bar, &window.Target);
    EXPECT_TRUE(split.Splitting());
    EXPECT_EQ(QWidget::mouseGrabber(), &window.Bar);
    ASSERT_NE(window.SplitLine(), nullptr);
    EXPECT_TRUE(window.SplitLine()->isVisible());
    EXPECT_EQ(window.SplitLine()->geometry(), QRect(177, 29, 3, 300)) << "starts on the bar";

    split.MoveSplit(20, 5);
    split.MoveSplit(50, 12);
    EXPECT_EQ(window.SplitLine()->geometry(), QRect(227, 29, 3, 300));

    split.EndSplit();
    EXPECT_FALSE(split.Splitting());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_FALSE(window.SplitLine()->isVisible());
    EXPECT_EQ(window.Target.geometry(), QRect(1, 29, 226, 300));
}

TEST(SplitControlTest, MovingAlongTheBarLeavesTheLineWhereItIs) {
    SplitWindow upright({1, 29, 176, 300}, {177, 29, 3, 300});
    TSplitControl uprightSplit(&upright.form);
    uprightSplit.BeginSplit(&upright.Bar, &upright.Target);
    uprightSplit.MoveSplit(30, 0);
    const QRect uprightLine = upright.SplitLine()->geometry();
    uprightSplit.MoveSplit(30, 140);
    uprightSplit.MoveSplit(30, -60);
    EXPECT_EQ(upright.SplitLine()->geometry(), uprightLine);
    uprightSplit.EndSplit();
    EXPECT_EQ(upright.Target.size(), QSize(206, 300));

    SplitWindow lying({0, 0, 300, 100}, {0, 100, 300, 3});
    TSplitControl lyingSplit(&lying.form);
    lyingSplit.BeginSplit(&lying.Bar, &lying.Target);
    lyingSplit.MoveSplit(0, 40);
    const QRect lyingLine = lying.SplitLine()->geometry();
    EXPECT_EQ(lyingLine, QRect(0, 140, 300, 3));
    lyingSplit.MoveSplit(250, 40);
    EXPECT_EQ(lying.SplitLine()->geometry(), lyingLine);
    lyingSplit.EndSplit();
    EXPECT_EQ(lying.Target.size(), QSize(300, 140)) << "a bar wider than high sets the height";
}

TEST(SplitControlTest, ReleaseWithoutMoveSetsTheDistanceFromTargetOriginToBar) {
    SplitWindow window({1, 29, 150, 300}, {177, 29, 3, 300});
    TSplitControl split(&window.form);
    split.BeginSplit(&window.Bar, &window.Target);
    split.EndSplit();
    EXPECT_EQ(window.Target.geometry(), QRect(1, 29, 176, 300));
}

TEST(SplitControlTest, DragAboveTheTargetLeavesItWithoutHeight) {
    SplitWindow window({0, 50, 300, 100}, {0, 150, 300, 3});
    TSplitControl split(&window.form);
    split.BeginSplit(&window.Bar, &window.Target);
    split.MoveSplit(0, -140);
    split.EndSplit();
    EXPECT_EQ(window.Target.geometry(), QRect(0, 50, 300, 0));
}

} // namespace
