// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/fake/fake_desktop.h"
#include "sampling/sampling_tick.h"

#include <gtest/gtest.h>
#include <set>

namespace huegrab {
namespace {

constexpr ColorValue kRed = 0x0000FF;
constexpr ColorValue kWhite = 0xFFFFFF;

TickInputs Inputs(std::int16_t offset, bool relative = false, std::string originX = "",
                  std::string originY = "") {
    TickInputs inputs;
    inputs.pickOffset = offset;
    inputs.relativeToOrigin = relative;
    inputs.originX = std::move(originX);
    inputs.originY = std::move(originY);
    return inputs;
}

TickResult TickAt(FakeDesktop& desktop, ScreenPoint pointer, TickInputs inputs = {}) {
    desktop.pointer = pointer;
    return RunSamplingTick(desktop, desktop, inputs);
}

TEST(SamplingTick, WritesPositionAndEveryColorFormOfTheSampledPixel) {
    FakeDesktop desktop(800, 600, kWhite);
    desktop.SetPixel(100, 200, kRed);
    const TickResult r = TickAt(desktop, {100, 200});

    EXPECT_EQ(r.rawPosition, "x:100  y:200");
    EXPECT_EQ(r.pickedX, "100");
    EXPECT_EQ(r.pickedY, "200");
    EXPECT_EQ(r.sampled, kRed);
    EXPECT_EQ(r.swatch, kRed);
    const ColorTexts expected{"0000FF", "255", "FF", "00",  "00", "255",
                              "0",      "0",   "0",  "240", "120"};
    EXPECT_EQ(r.color, expected);
}

TEST(SamplingTick, WhitePixel) {
    FakeDesktop desktop(800, 600, kWhite);
    const TickResult r = TickAt(desktop, {5, 5});
    const ColorTexts expected{"FFFFFF", "16777215", "FF",  "FF", "FF", "255",
                              "255",    "255",      "160", "0",  "240"};
    EXPECT_EQ(r.color, expected);
}

TEST(SamplingTick, OffsetMovesTheSamplePointButNotTheRawPosition) {
    FakeDesktop desktop(800, 600, kWhite);
    desktop.SetPixel(98, 198, kRed);
    const TickResult r = TickAt(desktop, {100, 200}, Inputs(-2));

    EXPECT_EQ(r.rawPosition, "x:100  y:200");
    EXPECT_EQ(r.pickedX, "98");
    EXPECT_EQ(r.pickedY, "198");
    EXPECT_EQ(r.sampled, kRed);
    EXPECT_EQ(r.magnifier[kMagnifierCentre], kRed);
}

TEST(SamplingTick, UnreadableSamplePointIsMinusOneWithBlackSwatch) {
    FakeDesktop desktop(800, 600, kRed);
    const TickResult r = TickAt(desktop, {0, 0}, Inputs(-2));

    EXPECT_EQ(r.pickedX, "-2");
    EXPECT_EQ(r.sampled, kInvalidColor);
    EXPECT_EQ(r.swatch, 0);
    const ColorTexts expected{"FFFFFF", "-1",  "FF",  "FF", "FF", "255",
                              "255",    "255", "160", "0",  "240"};
    EXPECT_EQ(r.color, expected);
    EXPECT_EQ(r.magnifier[kMagnifierCentre], 0);
}

TEST(SamplingTick, FailedPointerReadSamplesTheOrigin) {
    FakeDesktop desktop(800, 600, kWhite);
    desktop.SetPixel(0, 0, kRed);
    desktop.failCursorPos = true;
    // A held arrow cannot nudge a pointer whose place is unknown (on X11:
    // on another screen of the display); it must not be pulled to (0, 0).
    desktop.keysDown = {vk::kUp};
    const TickResult r = TickAt(desktop, {300, 300});
    EXPECT_EQ(r.rawPosition, "x:0  y:0");
    EXPECT_EQ(r.sampled, kRed);
    EXPECT_FALSE(r.nudged);
    EXPECT_EQ(desktop.pointer, (ScreenPoint{300, 300}));
}

TEST(SamplingTick, OriginRelativeCoordinatesUseTheForgivingNumberReading) {
    FakeDesktop desktop(800, 600, kWhite);
    auto pickedX = [&](const std::string& origin) {
        return TickAt(desktop, {250, 40}, Inputs(0, true, origin)).pickedX;
    };
    EXPECT_EQ(pickedX("100"), "150");
    EXPECT_EQ(pickedX("10.5"), "239.5");
    EXPECT_EQ(pickedX("abc"), "250");
    EXPECT_EQ(pickedX(""), "250");
    EXPECT_EQ(pickedX("300"), "-50");

    const TickResult r = TickAt(desktop, {250, 40}, Inputs(3, true, "", "0.1"));
    EXPECT_EQ(r.pickedX, "253");
    EXPECT_EQ(r.pickedY, "42.9");
    // Unchecked, the origin texts are ignored.
    EXPECT_EQ(TickAt(desktop, {250, 40}, Inputs(0, false, "100")).pickedX, "250");
}

TEST(SamplingTick, FirstHeldArrowKeyNudgesOncePerTickAndReadoutLagsOneTick) {
    FakeDesktop desktop(800, 600, kWhite);
    desktop.pointer = {50, 50};
    desktop.keysDown = {vk::kUp, vk::kLeft};

    const TickResult first = RunSamplingTick(desktop, desktop, {});
    EXPECT_EQ(first.rawPosition, "x:50  y:50");
    EXPECT_EQ(desktop.pointer, (ScreenPoint{50, 49}));
    RunSamplingTick(desktop, desktop, {});
    EXPECT_EQ(desktop.pointer, (ScreenPoint{50, 48})); // never left

    struct Case {
        std::set<int> keys;
        ScreenPoint expected;
    };
    const Case cases[] = {{{vk::kLeft, vk::kDown, vk::kRight}, {49, 50}},
                          {{vk::kDown, vk::kRight}, {50, 51}},
                          {{vk::kRight}, {51, 50}},
                          {{}, {50, 50}}};
    for (const Case& c : cases) {
        desktop.pointer = {50, 50};
        desktop.keysDown = c.keys;
        RunSamplingTick(desktop, desktop, {});
        EXPECT_EQ(desktop.pointer, c.expected);
    }
}

TEST(SamplingTick, OneScreenReadAndOneKeyboardReadPerTick) {
    FakeDesktop desktop(800, 600, kWhite);
    TickAt(desktop, {400, 300});
    EXPECT_EQ(desktop.blockReads, 1);
    EXPECT_EQ(desktop.pixelReads, 0);
    EXPECT_EQ(desktop.keyboardReads, 1);
}

// Each cell shows the pixel at its place, so paint every pixel a colour
// that encodes its own coordinates.
ColorValue CoordinateColor(int x, int y) {
    return (x << 12) | y;
}

TEST(Magnifier, CellsMapToPixelsAroundTheSamplePoint) {
    FakeDesktop desktop(800, 600);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            desktop.SetPixel(x, y, CoordinateColor(x, y));

    const TickResult r = TickAt(desktop, {500, 300});
    EXPECT_EQ(r.magnifier[0], CoordinateColor(495, 295));
    EXPECT_EQ(r.magnifier[10], CoordinateColor(505, 295));
    EXPECT_EQ(r.magnifier[120], CoordinateColor(505, 305));
    for (int i = 0; i < kMagnifierCells; ++i)
        EXPECT_EQ(r.magnifier[static_cast<std::size_t>(i)],
                  CoordinateColor(495 + i % 11, 295 + i / 11))
            << "cell " << i;
    EXPECT_EQ(r.magnifier[kMagnifierCentre], r.swatch);
}

TEST(Magnifier, CellsOffTheScreenAreBlackAtEveryEdge) {
    FakeDesktop desktop(800, 600, kWhite);
    for (ScreenPoint sample : {ScreenPoint{0, 0}, ScreenPoint{799, 599}, ScreenPoint{2, 597}}) {
        const TickResult r = TickAt(desktop, sample);
        for (int i = 0; i < kMagnifierCells; ++i) {
            const int x = sample.x - 5 + i % 11;
            const int y = sample.y - 5 + i / 11;
            const bool onScreen = x >= 0 && y >= 0 && x < 800 && y < 600;
            EXPECT_EQ(r.magnifier[static_cast<std::size_t>(i)], onScreen ? kWhite : 0)
                << "cell " << i << " at " << sample.x << "," << sample.y;
        }
    }
}

TEST(SamplingTick, ExtremePointerPositionsNeitherWrapNorCrash) {
    FakeDesktop desktop(800, 600, kWhite);
    // The fake pointer is scripted directly, so it can stand anywhere.
    const TickResult high = TickAt(desktop, {INT32_MAX, INT32_MAX}, Inputs(9));
    EXPECT_EQ(high.sampled, kInvalidColor);
    EXPECT_EQ(high.pickedX, "2147483647");
    const TickResult low = TickAt(desktop, {INT32_MIN, 0}, Inputs(-9));
    EXPECT_EQ(low.sampled, kInvalidColor);
    for (ColorValue cell : low.magnifier)
        EXPECT_EQ(cell, 0);
}

} // namespace
} // namespace huegrab
