// SPDX-License-Identifier: GPL-3.0-or-later
// The main window on a desktop scaled by two (the test runs with
// QT_SCALE_FACTOR=2), where it is larger than the screen.
#include "tests/form/form_test_support.h"

#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

namespace huegrab {
namespace {

// Too wide for the screen, the window keeps its left edge and its top (where
// a window manager puts the title bar) on the screen rather than centring
// them off it.
TEST(ScaledForm, AWindowLargerThanTheScreenStartsAtItsTopLeft) {
    testing_support::FormFixture f;
    const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_GT(f.form.width(), free.width());
    f.form.show();
    const QRect placed = f.form.frameGeometry();
    EXPECT_EQ(placed.left(), free.left());
    EXPECT_GE(placed.top(), free.top());
}

} // namespace
} // namespace huegrab
