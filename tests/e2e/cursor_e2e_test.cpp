// SPDX-License-Identifier: GPL-3.0-or-later
// The cursor page of the running program on Xvfb: while tracking, the code
// field and the drawing box follow the cursor of the window under the
// pointer.

#include "tests/e2e/running_huegrab.h"
#include "tests/x11/support/test_client.h"

#include <gtest/gtest.h>

namespace huegrab::e2e {
namespace {

constexpr unsigned kHand2 = 60; // cursor font

constexpr char kRootColor[] = "#00FF00";

// Tracks over the point until a tick has read it (the swatch turns from the
// root's colour to the colour there; the same tick computes the code), stops
// with the hotkey (the pointer stays), then copies the code field's text once
// the copy has arrived. A
// slow build or a loaded machine takes as long as it takes: no fixed wait.
std::string CodeAt(RunningHuegrab& huegrab, int x, int y, const std::string& colorThere) {
    huegrab.Key("alt+grave");
    EXPECT_TRUE(huegrab.WaitForColor("Label8", -1, kLampRed));
    huegrab.MovePointer(5, 5); // the root, clear of every window
    EXPECT_TRUE(huegrab.WaitForColor("得颜色", -1, kRootColor));
    huegrab.MovePointer(x, y);
    EXPECT_TRUE(huegrab.WaitForColor("得颜色", -1, colorThere)) << x << "," << y;
    huegrab.Key("alt+grave");
    EXPECT_TRUE(huegrab.WaitForColor("Label8", -1, kLampGreen));
    return huegrab.FieldText("鼠标特征码");
}

TEST(CursorPageEndToEnd, TheCodeFollowsTheCursorOfTheWindowUnderThePointer) {
    RunningHuegrab huegrab;
    ASSERT_TRUE(huegrab.Start());
    ASSERT_EQ(huegrab.Server().Run({"xsetroot", "-solid", kRootColor}).exitCode, 0);
    auto client = xtest::TestClient::Connect(huegrab.Server().DisplayName());
    ASSERT_NE(client, nullptr);
    // Two windows left of the program's: a white 16 x 16 cursor with its hot
    // spot in the corner, and the pointing hand of the cursor font. Their
    // colours tell when a tick has read over each.
    const xtest::XId white =
        client->CreateWindow(xtest::PlacedRectangle(20, 40, 150, 150, 0x3366CC));
    const xtest::XId hand =
        client->CreateWindow(xtest::PlacedRectangle(20, 300, 150, 150, 0xCC6633));
    const std::string overWhiteWindow = "#3366CC", overHandWindow = "#CC6633";
    ASSERT_NE(white, 0u);
    ASSERT_NE(hand, 0u);
    const std::vector<std::uint8_t> ones(256, 1);
    client->SetBitmapCursor(white, 16, 16, ones, ones, 0, 0, 0xFFFFFF, 0xFFFFFF);
    client->SetFontCursor(hand, kHand2);

    huegrab.Click("Option2", 1);
    const std::string overWhite = CodeAt(huegrab, 90, 110, overWhiteWindow);
    EXPECT_EQ(overWhite, "1593348757");
    // The box shows the white cursor with the first point read in red.
    const Point box = huegrab.Inside("鼠标绘制", 0); // drawing pixel (2, 2)
    EXPECT_EQ(huegrab.ScreenColor({box.x - 1, box.y - 1}), "#FF0000");
    EXPECT_EQ(huegrab.ScreenColor({box.x - 2, box.y - 2}), "#FFFFFF");

    const std::string overHand = CodeAt(huegrab, 90, 370, overHandWindow);
    EXPECT_NE(overHand, overWhite);
    EXPECT_FALSE(overHand.empty());
    EXPECT_EQ(overHand.find_first_not_of("0123456789"), std::string::npos) << overHand;
    EXPECT_EQ(CodeAt(huegrab, 60, 330, overHandWindow), overHand);
    EXPECT_EQ(CodeAt(huegrab, 100, 60, overWhiteWindow), overWhite);
}

} // namespace
} // namespace huegrab::e2e
