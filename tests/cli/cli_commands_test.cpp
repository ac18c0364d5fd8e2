// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_commands.h"
#include "desktop/fake/fake_desktop.h"

#include <gtest/gtest.h>

namespace huegrab::cli {
namespace {

using namespace std::chrono_literals;

Outcome RunCli(const std::vector<std::string>& arguments, DesktopServices* desktop) {
    const std::vector<std::string_view> views(arguments.begin(), arguments.end());
    const ParsedArguments parsed = ParseArguments(views);
    if (const auto* error = std::get_if<UsageError>(&parsed))
        return {kExitUsage, {}, error->message};
    return RunRequest(std::get<Request>(parsed), desktop);
}

// Outcomes against a scripted desktop: what is printed, the status and the
// reason, command by command.
TEST(CliCommands, ReadingsOnAScriptedDesktop) {
    FakeDesktop desktop(64, 48, 0x808080);
    desktop.SetPixel(20, 10, 0x0000FF);
    desktop.SetPixel(30, 10, 0x0000FF); // same row, further right
    desktop.SetPixel(40, 40, 0x0000FE);
    desktop.pointer = {20, 10};
    struct Case {
        std::vector<std::string> arguments;
        Outcome expected;
    };
    const std::vector<Case> cases = {
        {{"pointer"}, {kExitDone, "20,10\n", ""}},
        {{"pixel"}, {kExitDone, "x=20 y=10 c=255 hex=0000FF r=255 g=0 b=0 h=0 s=240 l=120\n", ""}},
        {{"pixel", "0", "0", "--format", "{hex}"}, {kExitDone, "808080\n", ""}},
        {{"pixel", "64", "0"}, {kExitNotFound, "", "pixel: 64,0 is off the screen"}},
        {{"pixel", "-1", "0"}, {kExitNotFound, "", "pixel: -1,0 is off the screen"}},
        {{"search", "0000FF"}, {kExitDone, "20,10\n", ""}},
        {{"search", "0000FF", "--region", "21,0,43,48"}, {kExitDone, "30,10\n", ""}},
        {{"search", "0000FF", "--region", "31,0,100,100"},
         {kExitNotFound, "", "search: no pixel of 0000FF"}},
        {{"search", "0000FF", "--region", "31,0,100,100", "--tolerance", "1"},
         {kExitDone, "40,40\n", ""}},
        {{"search", "FF", "--region", "64,0,5,5"},
         {kExitNotFound, "", "search: the region lies off the screen"}},
        {{"wait-pixel", "20", "10", "ff"},
         {kExitDone, "x=20 y=10 c=255 hex=0000FF r=255 g=0 b=0 h=0 s=240 l=120\n", ""}},
        {{"wait-pixel", "0", "0", "ff", "--timeout", "0.05"},
         {kExitNotFound, "", "wait-pixel: timed out; 0,0 still shows 808080"}},
        {{"wait-pixel", "0", "0", "808080", "--not", "--timeout", "0"},
         {kExitNotFound, "", "wait-pixel: timed out; 0,0 still shows 808080"}},
        {{"wait-pixel", "0", "48", "ff"},
         {kExitNotFound, "", "wait-pixel: 0,48 is off the screen"}},
        {{"lookup", "CC6633", "--format", "{r} {g} {b}"}, {kExitDone, "51 102 204\n", ""}},
        // --rgb: RRGGBB in, out and in the reasons.
        {{"pixel", "--rgb"},
         {kExitDone, "x=20 y=10 c=255 hex=FF0000 r=255 g=0 b=0 h=0 s=240 l=120\n", ""}},
        {{"pixel", "--rgb", "20", "10", "--json"},
         {kExitDone,
          "{\"x\":20,\"y\":10,\"c\":255,\"hex\":\"FF0000\",\"r\":255,\"g\":0,\"b\":0,"
          "\"h\":0,\"s\":240,\"l\":120}\n",
          ""}},
        {{"search", "--rgb", "#FF0000"}, {kExitDone, "20,10\n", ""}},
        {{"search", "--rgb", "#0000FF", "--region", "0,0,64,48"},
         {kExitNotFound, "", "search: no pixel of 0000FF"}},
        {{"search", "--rgb", "#FE0000", "--region", "31,0,100,100"}, {kExitDone, "40,40\n", ""}},
        {{"wait-pixel", "--rgb", "20", "10", "#FF0000"},
         {kExitDone, "x=20 y=10 c=255 hex=FF0000 r=255 g=0 b=0 h=0 s=240 l=120\n", ""}},
        {{"wait-pixel", "--rgb", "20", "10", "0000FF", "--timeout", "0"},
         {kExitNotFound, "", "wait-pixel: timed out; 20,10 still shows FF0000"}},
        {{"lookup", "--rgb", "#3366CC", "--format", "{c} {hex} {rrggbb} {r}"},
         {kExitDone, "13395507 3366CC 3366CC 51\n", ""}},
        {{"lookup", "--rgb", "--decimal", "255"},
         {kExitDone, "c=255 hex=FF0000 r=255 g=0 b=0 h=0 s=240 l=120\n", ""}},
    };
    for (const auto& [arguments, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(arguments));
        const Outcome outcome = RunCli(arguments, &desktop);
        EXPECT_EQ(outcome.status, expected.status);
        EXPECT_EQ(outcome.out, expected.out);
        EXPECT_EQ(outcome.error, expected.error);
    }
}

// A desktop that reads pixels but not the pointer, windows or cursor (a
// Wayland session): the commands that need them say so and end with status
// 2, never "nothing found"; the ones given a point still read it.
TEST(CliCommands, WhatTheDesktopDoesNotOfferIsRefusedInPlainWords) {
    FakeDesktop desktop(64, 48, 0x808080);
    desktop.windows = {{7, "Found", "Class", 0, 0, 64, 48}};
    desktop.cursor = CursorImage{1, 1, 0, 0, {0xFF000000u}};
    desktop.notOffered = {{DesktopAbility::ReadPointer, "no pointer here"},
                          {DesktopAbility::Windows, "no windows here"},
                          {DesktopAbility::CursorImage, "no cursor here"}};
    struct Case {
        std::vector<std::string> arguments;
        Outcome expected;
    };
    const std::vector<Case> cases = {
        {{"pointer"}, {kExitUsage, "", "pointer: no pointer here"}},
        {{"pixel"}, {kExitUsage, "", "pixel: no pointer here; give the point as X Y"}},
        {{"pixel", "1", "2", "--format", "{hex}"}, {kExitDone, "808080\n", ""}},
        {{"window-at", "1", "2"}, {kExitUsage, "", "window-at: no windows here"}},
        {{"window-at"}, {kExitUsage, "", "window-at: no windows here"}},
        {{"windows"}, {kExitUsage, "", "windows: no windows here"}},
        {{"find", "Found"}, {kExitUsage, "", "find: no windows here"}},
        {{"cursor-code"}, {kExitUsage, "", "cursor-code: no cursor here"}},
        {{"search", "808080"}, {kExitDone, "0,0\n", ""}},
        {{"wait-pixel", "3", "4", "808080"},
         {kExitDone, "x=3 y=4 c=8421504 hex=808080 r=128 g=128 b=128 h=160 s=0 l=120\n", ""}},
    };
    for (const auto& [arguments, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(arguments));
        const Outcome outcome = RunCli(arguments, &desktop);
        EXPECT_EQ(outcome.status, expected.status);
        EXPECT_EQ(outcome.out, expected.out);
        EXPECT_EQ(outcome.error, expected.error);
    }
    // Only the pointer missing: a window at a named point is read.
    desktop.notOffered.erase(DesktopAbility::Windows);
    EXPECT_EQ(RunCli({"window-at", "1", "2"}, &desktop).status, kExitDone);
    EXPECT_EQ(RunCli({"window-at"}, &desktop).error,
              "window-at: no pointer here; give the point as X Y");
}

// A desktop that cannot read the pointer but lets the user click a point
// (a wlroots compositor): pointer and pixel without X Y say so first, then
// take the clicked point; nothing else asks for a click.
TEST(CliCommands, APointerThatCannotBeReadIsClicked) {
    FakeDesktop desktop(64, 48, 0x808080);
    desktop.SetPixel(5, 6, 0x0000FF);
    desktop.pointer = {1, 1};
    desktop.cursor = CursorImage{1, 1, 0, 0, {0xFF000000u}};
    desktop.notOffered = {{DesktopAbility::ReadPointer, "no pointer here"},
                          {DesktopAbility::Windows, "no windows here"}};
    desktop.picksByClick = true;
    const std::string ask = "click the point to read (Esc cancels)";
    struct Case {
        std::vector<std::string> arguments;
        std::optional<ScreenPoint> clicked;
        Outcome expected;
        std::vector<std::string> notices;
    };
    const std::vector<Case> cases = {
        {{"pointer"}, ScreenPoint{5, 6}, {kExitDone, "5,6\n", ""}, {ask}},
        {{"pixel"},
         ScreenPoint{5, 6},
         {kExitDone, "x=5 y=6 c=255 hex=0000FF r=255 g=0 b=0 h=0 s=240 l=120\n", ""},
         {ask}},
        {{"pixel", "--rgb", "--format", "{x} {y} {hex}"},
         ScreenPoint{5, 6},
         {kExitDone, "5 6 FF0000\n", ""},
         {ask}},
        {{"pixel"},
         ScreenPoint{64, 0},
         {kExitNotFound, "", "pixel: 64,0 is off the screen"},
         {ask}},
        {{"pointer"}, std::nullopt, {kExitNotFound, "", "pointer: no point was picked"}, {ask}},
        {{"pixel"}, std::nullopt, {kExitNotFound, "", "pixel: no point was picked"}, {ask}},
        // A point given, or a command that is refused anyway: no click.
        {{"pixel", "5", "6", "--format", "{hex}"},
         ScreenPoint{0, 0},
         {kExitDone, "0000FF\n", ""},
         {}},
        {{"window-at"}, ScreenPoint{5, 6}, {kExitUsage, "", "window-at: no windows here"}, {}},
        {{"cursor-code"}, ScreenPoint{5, 6}, {kExitUsage, "", "cursor-code: no pointer here"}, {}},
    };
    for (const auto& [arguments, clicked, expected, notices] : cases) {
        SCOPED_TRACE(testing::PrintToString(arguments));
        desktop.clickedPoint = clicked;
        desktop.picks = 0;
        std::vector<std::string> said;
        const std::vector<std::string_view> views(arguments.begin(), arguments.end());
        const Outcome outcome = RunRequest(std::get<Request>(ParseArguments(views)), &desktop,
                                           [&](const std::string& line) { said.push_back(line); });
        EXPECT_EQ(outcome.status, expected.status);
        EXPECT_EQ(outcome.out, expected.out);
        EXPECT_EQ(outcome.error, expected.error);
        EXPECT_EQ(said, notices);
        EXPECT_EQ(desktop.picks, static_cast<int>(notices.size()));
    }
    // The colour is the screen's as the click was asked for, not the
    // pointer's image that the desktop draws at the point afterwards.
    desktop.clickedPoint = ScreenPoint{5, 6};
    desktop.duringPick = [&desktop] {
        desktop.SetPixel(5, 6, 0xFFFFFF);
    };
    EXPECT_EQ(RunCli({"pixel", "--format", "{hex}"}, &desktop).out, "0000FF\n");
    EXPECT_EQ(RunCli({"pixel", "--format", "{hex}"}, &desktop).out, "FFFFFF\n");
    desktop.duringPick = nullptr;
    // Where the pointer can be read, it is, clicks or not.
    desktop.notOffered.clear();
    desktop.picks = 0;
    EXPECT_EQ(RunCli({"pointer"}, &desktop).out, "1,1\n");
    EXPECT_EQ(desktop.picks, 0);
}

// The screen comes in strips of rows (a quarter million pixels each), never
// pixel by pixel, and the reading stops at the strip with the first match.
TEST(CliCommands, SearchReadsTheScreenInStripsAndLookupNeedsNoDesktop) {
    FakeDesktop desktop(1920, 1080, 0);
    desktop.SetPixel(1919, 1079, 0x123456);
    const Outcome found = RunCli({"search", "123456"}, &desktop);
    EXPECT_EQ(found.out, "1919,1079\n");
    EXPECT_EQ(desktop.blockReads, 8);
    EXPECT_EQ(desktop.pixelReads, 0);
    desktop.SetPixel(5, 3, 0x123456);
    desktop.blockReads = 0;
    EXPECT_EQ(RunCli({"search", "123456"}, &desktop).out, "5,3\n");
    EXPECT_EQ(desktop.blockReads, 1);

    const Outcome lookup = RunCli({"lookup", "--decimal", "16711680"}, nullptr);
    EXPECT_EQ(lookup.status, kExitDone);
    EXPECT_EQ(lookup.out, "c=16711680 hex=FF0000 r=0 g=0 b=255 h=160 s=240 l=120\n");
}

// A desktop that cannot tell its size and hands back each block without
// reading it, so that a region as large as the coordinates allow is quick.
class UnboundedDesktop final : public DesktopServices {
public:
    std::optional<ScreenPoint> GetCursorPos() override { return std::nullopt; }
    void SetCursorPos(std::int32_t, std::int32_t) override {}
    ColorValue GetPixel(std::int32_t, std::int32_t) override { return kInvalidColor; }
    PixelBlock ReadBlock(std::int32_t left, std::int32_t top, std::int32_t width,
                         std::int32_t height) override {
        pixels += std::int64_t{width} * height;
        largestBlock = std::max(largestBlock, std::int64_t{width} * height);
        return {left, top, width, height, {}};
    }
    std::uint32_t KeysPressed(std::span<const int>) override { return 0; }
    bool RegisterHotKey(int, unsigned, int) override { return false; }
    void UnregisterHotKey(int) override {}
    void SetHotkeyHandler(std::function<void(const HotkeyPress&)>) override {}
    void AttachEventLoop(DesktopEventLoop&) override {}
    void DispatchEvents() override {}
    WindowHandle WindowFromPoint(ScreenPoint) override { return 0; }
    std::vector<WindowHandle> TopLevelWindows() override { return {}; }
    std::string WindowText(WindowHandle) override { return {}; }
    std::string ClassName(WindowHandle) override { return {}; }
    std::optional<CursorImage> GetCursorImage() override { return std::nullopt; }
    std::int64_t pixels = 0;
    std::int64_t largestBlock = 0;
};

// Regions reaching the 32-bit limit are read to their last row and column,
// without the counts overflowing, and a row that wide comes in pieces (read
// whole, it would ask for gigabytes).
TEST(CliCommands, SearchOfAHugeRegionOnADesktopWithoutASize) {
    struct Case {
        const char* region;
        std::int64_t pixels;
    };
    for (const auto& [region, pixels] :
         {Case{"0,0,1,2147483647", 2147483647}, Case{"0,0,2147483647,1", 2147483647},
          Case{"2147483000,5,1000,3", 3 * 648}}) {
        SCOPED_TRACE(region);
        UnboundedDesktop desktop;
        const Outcome outcome = RunCli({"search", "FF", "--region", region}, &desktop);
        EXPECT_EQ(outcome.status, kExitNotFound);
        EXPECT_EQ(desktop.pixels, pixels);
        EXPECT_LE(desktop.largestBlock, 1 << 18);
    }
}

// The pointer on another screen of the display: nothing of this screen is
// under it, not even the window at 0,0.
TEST(CliCommands, APointerOffTheScreenIsReported) {
    FakeDesktop desktop(10, 10, 0);
    desktop.failCursorPos = true;
    for (const char* command : {"pointer", "pixel", "window-at"}) {
        const Outcome outcome = RunCli({command}, &desktop);
        EXPECT_EQ(outcome.status, kExitNotFound);
        EXPECT_EQ(outcome.error, std::string(command) + ": the pointer is not on this screen");
    }
}

} // namespace
} // namespace huegrab::cli
