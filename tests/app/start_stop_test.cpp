// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/form_colors.h"
#include "tests/app/app_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QTest>
#include <QTimer>

namespace huegrab {
namespace {

constexpr ColorValue kGreen = 0x00FF00;
constexpr ColorValue kRed = 0x0000FF;
constexpr FakeDesktop::HotkeyKeys kAltTilde{hotkey_mod::kAlt, vk::kOem3};
constexpr HotkeyPress kAltTildePress{1001, hotkey_mod::kAlt, vk::kOem3};

class StartStop : public AppFixture {
protected:
    QCheckBox* StartStopBox() const { return form->Find<QCheckBox>("Check1"); }

    void ExpectRunning(bool running) const {
        EXPECT_EQ(StartStopBox()->isChecked(), running);
        EXPECT_EQ(controller->Tracking().Timer().isActive(), running);
        EXPECT_EQ(BackColor(form->Control("Label8")), running ? kRed : kGreen);
        EXPECT_EQ(controller->State().trackingState,
                  running ? TrackingState::Running : TrackingState::Stopped);
    }
};

TEST_F(StartStop, ComesUpStoppedWithTheHotkeyRegistered) {
    ExpectRunning(false);
    const QTimer& timer = controller->Tracking().Timer();
    EXPECT_EQ(timer.interval(), 100);
    EXPECT_FALSE(timer.isSingleShot());
    EXPECT_EQ(timer.objectName(), QStringLiteral("Timer1"));
    ASSERT_EQ(desktop.registeredHotkeys.count(1001), 1u);
    EXPECT_EQ(desktop.registeredHotkeys[1001], kAltTilde);
    EXPECT_EQ(form->Find<QComboBox>("Combo1")->currentIndex(), 0);
    EXPECT_EQ(controller->State().focusedColorSlot, 0);
    EXPECT_EQ(desktop.blockReads, 0); // nothing sampled before the user starts
}

TEST_F(StartStop, ClickAndSpaceToggleTracking) {
    Click("Check1");
    ExpectRunning(true);
    Click("Check1");
    ExpectRunning(false);

    StartStopBox()->setFocus();
    QTest::keyClick(StartStopBox(), Qt::Key_Space);
    ExpectRunning(true);
    QTest::keyClick(StartStopBox(), Qt::Key_Space);
    ExpectRunning(false);
}

TEST_F(StartStop, ArrowKeysKeepTheFocusOnTheSwitchWhileTracking) {
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    Click("Check1");
    ExpectRunning(true);
    StartStopBox()->setFocus();
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Up, Qt::Key_Left}) {
        QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_EQ(QApplication::focusWidget(), StartStopBox()) << key;
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    ExpectRunning(false);

    // Stopped, the arrows move the focus again as usual.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_NE(QApplication::focusWidget(), StartStopBox());
}

TEST_F(StartStop, StoppingKeepsTheLastReadouts) {
    desktop.pointer = {100, 200};
    Click("Check1");
    ASSERT_TRUE(WaitForTick());
    Click("Check1");
    desktop.pointer = {300, 300};
    QTest::qWait(250);
    EXPECT_EQ(Text("得x"), "100");
    EXPECT_EQ(Text("Label9"), "x:100  y:200");
}

TEST_F(StartStop, HotkeyAndClicksAlternateWithoutGettingOutOfStep) {
    bool expected = false;
    for (int round = 0; round < 6; ++round) {
        if (round % 3 == 0)
            Click("Check1");
        else
            ASSERT_TRUE(desktop.PressHotkey(kAltTildePress));
        expected = !expected;
        ExpectRunning(expected);
    }
}

TEST_F(StartStop, HotkeyWithOtherModifiersOrIdentifierDoesNothing) {
    desktop.PressHotkey({1001, hotkey_mod::kAlt | hotkey_mod::kControl, vk::kOem3});
    desktop.PressHotkey({1001, hotkey_mod::kAlt | hotkey_mod::kShift, vk::kOem3});
    desktop.registeredHotkeys[7] = kAltTilde;
    desktop.PressHotkey({7, hotkey_mod::kAlt, vk::kOem3});
    ExpectRunning(false);
}

TEST_F(StartStop, PageChoiceLeavesTrackingAlone) {
    Click("Check1");
    Click("Option2", 1);
    ExpectRunning(true);
    Click("Check1");
    Click("Option2", 0);
    ExpectRunning(false);
}

TEST_F(StartStop, ClosingStopsTheTimerAndReleasesTheHotkey) {
    Click("Check1");
    ASSERT_TRUE(controller->Tracking().Timer().isActive());
    form->close();
    EXPECT_FALSE(controller->Tracking().Timer().isActive());
    EXPECT_EQ(desktop.registeredHotkeys.count(1001), 0u);
    EXPECT_FALSE(desktop.PressHotkey(kAltTildePress));
}

class HotkeyHeldElsewhere : public StartStop {
protected:
    void PrepareDesktop() override { desktop.heldHotkeys.insert(kAltTilde); }
};

TEST_F(HotkeyHeldElsewhere, TheCheckBoxStillStartsAndStops) {
    EXPECT_FALSE(controller->State().hotkeyRegistered);
    EXPECT_FALSE(desktop.PressHotkey(kAltTildePress));
    Click("Check1");
    ExpectRunning(true);
    Click("Check1");
    ExpectRunning(false);
}

} // namespace
} // namespace huegrab
