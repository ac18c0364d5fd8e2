// The cursor page of the running program on Xvfb: while tracking, the code
// field and the drawing box follow the cursor of the window under the
// pointer.

#include "tests/e2e/running_huegrab.h"
#include "tests/x11/support/test_client.h"

#include <gtest/gtest.h>
#include <thread>

namespace huegrab::e2e {
namespace {

constexpr unsigned kHand2 = 60; // cursor font

// Tracks over the point for a few ticks, stops with the hotkey (the pointer
// stays), then copies the code field's text.
std::string CodeAt(RunningHuegrab& huegrab, int x, int y) {
    huegrab.Key("alt+grave");
    EXPECT_TRUE(huegrab.WaitForColour("Label8", -1, kLampRed));
    huegrab.MovePointer(x, y);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    huegrab.Key("alt+grave");
    EXPECT_TRUE(huegrab.WaitForColour("Label8", -1, kLampGreen));
    huegrab.Click("鼠标特征码");
    huegrab.Key("ctrl+a");
    huegrab.Key("ctrl+c");
    return huegrab.ClipboardText();
}

TEST(CursorPageEndToEnd, TheCodeFollowsTheCursorOfTheWindowUnderThePointer) {
    RunningHuegrab huegrab;
    ASSERT_TRUE(huegrab.Start());
    auto client = xtest::TestClient::Connect(huegrab.Server().DisplayName());
    ASSERT_NE(client, nullptr);
    // Two windows left of the program's: a white 16 x 16 cursor with its hot
    // spot in the corner, and the pointing hand of the cursor font.
    xtest::WindowSpec spec = xtest::PlacedRectangle(20, 40, 150, 150);
    const xtest::XId white = client->CreateWindow(spec);
    spec.y = 300;
    const xtest::XId hand = client->CreateWindow(spec);
    ASSERT_NE(white, 0u);
    ASSERT_NE(hand, 0u);
    const std::vector<std::uint8_t> ones(256, 1);
    client->SetBitmapCursor(white, 16, 16, ones, ones, 0, 0, 0xFFFFFF, 0xFFFFFF);
    client->SetFontCursor(hand, kHand2);

    huegrab.Click("Option2", 1);
    const std::string overWhite = CodeAt(huegrab, 90, 110);
    EXPECT_EQ(overWhite, "1593348757");
    // The box shows the white cursor with the first point read in red.
    const Point box = huegrab.Inside("鼠标绘制", 0); // drawing pixel (2, 2)
    EXPECT_EQ(huegrab.ScreenColour({box.x - 1, box.y - 1}), "#FF0000");
    EXPECT_EQ(huegrab.ScreenColour({box.x - 2, box.y - 2}), "#FFFFFF");

    const std::string overHand = CodeAt(huegrab, 90, 370);
    EXPECT_NE(overHand, overWhite);
    EXPECT_FALSE(overHand.empty());
    EXPECT_EQ(overHand.find_first_not_of("0123456789"), std::string::npos) << overHand;
    EXPECT_EQ(CodeAt(huegrab, 60, 330), overHand);
    EXPECT_EQ(CodeAt(huegrab, 100, 60), overWhite);
}

} // namespace
} // namespace huegrab::e2e
