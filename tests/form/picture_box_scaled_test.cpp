// SPDX-License-Identifier: GPL-3.0-or-later
// A picture box on a desktop scaled by two (the test runs with
// QT_SCALE_FACTOR=2): its canvas is in device pixels.
#include "app/form/picture_box.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace huegrab {
namespace {

TEST(ScaledPictureBox, AResizeKeepsTheDrawingPixelForPixel) {
    QWidget window;
    window.resize(200, 200);
    auto* box = new PictureBox(&window); // owned by the window
    box->setGeometry(0, 0, 34, 34);
    window.show();
    ASSERT_EQ(box->devicePixelRatioF(), 2.0);
    box->SetPixel(40, 40, 0x0000FF);
    ASSERT_EQ(box->Pixel(40, 40), 0x0000FF);
    box->resize(40, 40);
    EXPECT_EQ(box->Pixel(40, 40), 0x0000FF);
}

} // namespace
} // namespace huegrab
