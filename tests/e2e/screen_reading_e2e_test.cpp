// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/layout_table.h"
#include "tests/e2e/running_huegrab.h"
#include "tests/x11/support/test_client.h"

#include <fstream>
#include <gtest/gtest.h>

namespace huegrab::e2e {
namespace {

// A square of one colour that stays exactly where it is put; the client
// that owns it, or nullptr when it could not be shown.
std::unique_ptr<xtest::TestClient> ShowSpot(RunningHuegrab& huegrab, int x, int y, int side,
                                            std::uint32_t rgb) {
    auto client = xtest::TestClient::Connect(huegrab.Server().DisplayName());
    if (!client)
        return nullptr;
    return client->CreateWindow(xtest::PlacedRectangle(x, y, side, side, rgb)) != 0
               ? std::move(client)
               : nullptr;
}

TEST(ScreenReadingEndToEnd, WithoutAnXDisplayItSaysSoAndFails) {
    xtest::CommandOptions options;
    options.environment = {{"DISPLAY", ":999"}};
    const xtest::CommandResult result =
        xtest::RunCommand({"sh", "-c", std::string(HUEGRAB_BINARY) + " 2>&1"}, options);
    EXPECT_NE(result.exitCode, 0);
    EXPECT_NE(result.output.find("cannot open the X display"), std::string::npos) << result.output;
}

TEST(ScreenReadingEndToEnd, TypedPointReadsItsColor) {
    RunningHuegrab huegrab;
    ASSERT_TRUE(huegrab.Start());
    auto client = ShowSpot(huegrab, 20, 30, 4, 0xFF0000);
    ASSERT_TRUE(client);

    huegrab.Click("自x");
    huegrab.Server().Run({"xdotool", "type", "21"});
    huegrab.Click("自y");
    huegrab.Server().Run({"xdotool", "type", "32"});
    huegrab.Click("Command2");
    EXPECT_TRUE(huegrab.WaitForColor("自颜色", -1, "#FF0000"));
}

// On a desktop scaled by Qt, the tick still samples the device pixel under
// the hot spot: a 1-pixel red spot on white is picked exactly.
TEST(ScreenReadingEndToEnd, ScaledDesktopSamplesThePixelUnderTheHotSpot) {
    RunningHuegrab huegrab(/*windowManager=*/false, /*scale=*/2);
    ASSERT_TRUE(huegrab.Start());
    huegrab.Server().Run({"xsetroot", "-solid", "#FFFFFF"});
    auto client = ShowSpot(huegrab, 30, 40, 1, 0xFF0000);
    ASSERT_TRUE(client);

    huegrab.Key("alt+grave");
    huegrab.MovePointer(30, 40);
    EXPECT_TRUE(huegrab.WaitForColor("得颜色", -1, "#FF0000"));
    huegrab.MovePointer(31, 40);
    EXPECT_TRUE(huegrab.WaitForColor("得颜色", -1, "#FFFFFF"));
}

// A Wayland session (as its environment shows it) with Qt asked for its
// Wayland platform: the window still comes up on the X server the desktop
// reads, and picks work there.
TEST(ScreenReadingEndToEnd, AWaylandSessionRunsTheWindowOnX11) {
    RunningHuegrab huegrab;
    huegrab.SetEnvironment("WAYLAND_DISPLAY", "huegrab-test-no-such-display");
    huegrab.SetEnvironment("QT_QPA_PLATFORM", "wayland");
    ASSERT_TRUE(huegrab.Start());
    huegrab.Server().Run({"xsetroot", "-solid", "#00FF00"});
    huegrab.Key("alt+grave");
    huegrab.MovePointer(3, 3);
    EXPECT_TRUE(huegrab.WaitForColor("得颜色", -1, "#00FF00"));
}

// The root tiled with a one-pixel checkerboard: every magnifier cell must
// show the colour of its own pixel, with the markers around the centre.
TEST(ScreenReadingEndToEnd, MagnifierShowsTheNeighbourhoodOfTheSamplePoint) {
    RunningHuegrab huegrab;
    ASSERT_TRUE(huegrab.Start());
    const auto bitmap = huegrab.Folder() / "checker.xbm";
    std::ofstream(bitmap) << "#define checker_width 2\n#define checker_height 2\n"
                             "static unsigned char checker_bits[] = {\n   0x01, 0x02};\n";
    huegrab.Server().Run(
        {"xsetroot", "-bitmap", bitmap.string(), "-fg", "#FF00FF", "-bg", "#00FFFF"});

    const int sx = 101, sy = 50; // an odd sum: the sample point is background
    huegrab.Key("alt+grave");
    huegrab.MovePointer(sx, sy);
    ASSERT_TRUE(huegrab.WaitForColor("得颜色", -1, "#00FFFF"));
    huegrab.Key("alt+grave");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    const Point frame = huegrab.Centre("Frame1", 5);
    const TwipsRect frameRect = [] {
        for (const ControlRow& row : LayoutTable())
            if (row.name == "Frame1" && row.index == 5)
                return row.rect;
        return TwipsRect{};
    }();
    const Point frameTopLeft{frame.x - TwipsToPixels(frameRect.width / 2),
                             frame.y - TwipsToPixels(frameRect.height / 2)};
    const auto shot = huegrab.ScreenColors(frameTopLeft, TwipsToPixels(frameRect.width),
                                           TwipsToPixels(frameRect.height));
    for (int cell = 0; cell < 121; ++cell) {
        const int column = cell % 11, row = cell / 11;
        // The middle of the cell, inside its one-pixel border.
        const auto x = static_cast<std::size_t>(TwipsToPixels(120 + 120 * column) + 4);
        const auto y = static_cast<std::size_t>(TwipsToPixels(240 + 120 * row) + 4);
        std::string expected;
        if (cell == 49 || cell == 71)
            expected = "#FF0000";
        else if (cell == 59 || cell == 61)
            expected = "#0000FF";
        else
            expected = ((sx - 5 + column) + (sy - 5 + row)) % 2 == 0 ? "#FF00FF" : "#00FFFF";
        EXPECT_EQ(shot.at(y).at(x), expected) << "cell " << cell;
    }
}

} // namespace
} // namespace huegrab::e2e
