// SPDX-License-Identifier: GPL-3.0-or-later
// Switching on where the desktop cannot tell where the pointer is but lets
// the user click a point: one pick, one tick at the clicked point, off again.
#include "app/form/form_colors.h"
#include "tests/app/app_fixture.h"

#include <QCheckBox>
#include <QTest>
#include <future>

namespace huegrab {
namespace {

constexpr ColorValue kRed = 0x0000FF;
constexpr ColorValue kGreen = 0x00FF00;
constexpr ScreenPoint kClicked{100, 200};

class ClickPick : public AppFixture {
protected:
    void PrepareDesktop() override {
        desktop.notOffered[DesktopAbility::ReadPointer] = "no pointer here";
        desktop.picksByClick = true;
        desktop.clickedPoint = kClicked;
        desktop.pointer = {5, 5}; // what a read of the pointer would wrongly give
        desktop.SetPixel(kClicked.x, kClicked.y, kRed);
        // The pick waits until the test lets the user click.
        desktop.duringPick = [this] {
            clicked.get_future().wait();
        };
    }
    void TearDown() override {
        Click();
        AppFixture::TearDown();
    }
    void Click() {
        if (!released) {
            released = true;
            clicked.set_value();
        }
    }
    bool Lamp(ColorValue color) const { return BackColor(form->Control("Label8")) == color; }
    bool Stopped() const {
        return !form->Find<QCheckBox>("Check1")->isChecked() && Lamp(kGreen) &&
               controller->State().trackingState == TrackingState::Stopped;
    }

    std::promise<void> clicked;
    bool released = false;
};

TEST_F(ClickPick, OnePickSamplesTheClickedPointThenSwitchesOff) {
    EXPECT_TRUE(form->Control("Label8")->toolTip().contains(QStringLiteral("点一下")));
    AppFixture::Click("Check1");
    // The user is picking: the switch is on, and the window keeps running.
    QTest::qWait(150);
    EXPECT_TRUE(Lamp(kRed));
    EXPECT_EQ(controller->State().trackingState, TrackingState::Running);
    EXPECT_FALSE(controller->Tracking().Timer().isActive());
    EXPECT_EQ(desktop.blockReads, 0);

    Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Stopped(); }, 2000));
    EXPECT_EQ(desktop.picks, 1);
    EXPECT_EQ(Text("Label9"), "x:100  y:200");
    EXPECT_EQ(Text("得x"), "100");
    EXPECT_EQ(Text("得16"), "0000FF");
    EXPECT_EQ(BackColor(form->Control("得颜色")), kRed);
    EXPECT_EQ(BackColor(form->Control("色块", 0)), kRed);
    EXPECT_TRUE(desktop.cursorMoves.empty());
}

TEST_F(ClickPick, CancelledPickChangesNothing) {
    desktop.clickedPoint.reset();
    const std::string position = Text("Label9");
    const std::string hex = Text("得16");
    const ColorValue swatch = BackColor(form->Control("得颜色"));
    AppFixture::Click("Check1");
    Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Stopped(); }, 2000));
    EXPECT_EQ(desktop.picks, 1);
    EXPECT_EQ(desktop.blockReads, 0);
    EXPECT_EQ(Text("Label9"), position);
    EXPECT_EQ(Text("得16"), hex);
    EXPECT_EQ(BackColor(form->Control("得颜色")), swatch);
}

TEST_F(ClickPick, ClosingEndsThePickAndDropsItsPoint) {
    int ended = 0;
    desktop.onEndPicking = [&] {
        ++ended;
        Click(); // the pick ends, here with a point
    };
    AppFixture::Click("Check1");
    QTest::qWait(50);
    form->close();
    EXPECT_EQ(ended, 1);
    QTest::qWait(100); // time for the point to come back
    controller.reset();
    EXPECT_EQ(desktop.picks, 1);
    EXPECT_EQ(desktop.blockReads, 0);
}

} // namespace
} // namespace huegrab
