// SPDX-License-Identifier: GPL-3.0-or-later
// huegrab.exe as a Windows user meets it (under wine on the tests' Xvfb):
// driven with SendInput, read back from the screen's pixels, the Windows
// clipboard and the system's own INI functions.
#include "app/form/layout_table.h"
#include "color/color_model.h"
#include "desktop/win32/win32_window_handle.h"
#include "tests/win32/support/running_huegrab_exe.h"
#include "tests/win32/support/test_windows.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace huegrab::win32test {
namespace {

// 0x00BBGGRR, as the screen reads.
constexpr ColorValue kLampRed = 0x0000FF;
constexpr ColorValue kLampGreen = 0x00FF00;
constexpr ColorValue kKnown = 0x336699; // red 0x99, green 0x66, blue 0x33

constexpr wchar_t kTargetTitle[] = L"huegrab e2e 目标窗口";

void PressHotkey() {
    PressKeys({VK_MENU, VK_OEM_3}); // Alt + the key left of 1
}

// A window of the known colour (with the arrow cursor), well clear of the
// program's window, which comes up centred.
std::unique_ptr<TestWindow> KnownColorWindow() {
    TestWindowOptions options;
    options.title = kTargetTitle;
    options.x = 40;
    options.y = 40;
    options.width = 120;
    options.height = 120;
    options.stripes = {kKnown};
    auto window = TestWindow::Create(options);
    PumpMessages(std::chrono::milliseconds(200));
    return window;
}

std::string Profile(const std::filesystem::path& file, const char* section, const char* key) {
    char value[256] = {};
    ::GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value,
                               file.string().c_str());
    return value;
}

class HuegrabExe : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(huegrab.Start()); }

    // Tracks to `at`, then stops with the hotkey, which leaves the pointer
    // (and the readings) where they are.
    void PickAt(POINT at, ColorValue color) {
        PressHotkey();
        ASSERT_TRUE(huegrab.WaitForColor("Label8", -1, kLampRed));
        MovePointer(at);
        ASSERT_TRUE(huegrab.WaitForColor("得颜色", -1, color));
        PressHotkey();
        ASSERT_TRUE(huegrab.WaitForColor("Label8", -1, kLampGreen));
    }

    RunningHuegrabExe huegrab;
};

// Which pixels of a control's top band differ from the band's most common
// colour (the background): the shape of the text drawn there.
std::vector<bool> InkOf(const RECT& band) {
    std::vector<ColorValue> pixels;
    for (LONG y = band.top; y < band.bottom; ++y)
        for (LONG x = band.left; x < band.right; ++x)
            pixels.push_back(ScreenPixel(POINT{x, y}));
    ColorValue background = pixels.front();
    std::size_t most = 0;
    for (const ColorValue candidate : pixels) {
        const auto count =
            static_cast<std::size_t>(std::count(pixels.begin(), pixels.end(), candidate));
        if (count > most) {
            most = count;
            background = candidate;
        }
    }
    std::vector<bool> ink;
    for (const ColorValue pixel : pixels)
        ink.push_back(pixel != background);
    return ink;
}

TEST_F(HuegrabExe, OpensAtItsSizeWithItsChineseCaptionsDrawn) {
    RECT client{};
    ASSERT_TRUE(::GetClientRect(huegrab.Window(), &client));
    EXPECT_EQ(client.right, TwipsToPixels(kClientWidthTwips));
    EXPECT_EQ(client.bottom, TwipsToPixels(kClientHeightTwips));

    // Two frame captions of seven different Chinese characters each. Drawn
    // as missing-glyph boxes, both would show the same seven boxes.
    auto captionBand = [&](int index) {
        const RECT frame = huegrab.ScreenRect("Frame1", index);
        return RECT{frame.left, frame.top, frame.left + 100, frame.top + 16};
    };
    const std::vector<bool> custom = InkOf(captionBand(3));    // 自定义屏幕坐标
    const std::vector<bool> magnifier = InkOf(captionBand(5)); // 点阵放大显示器
    const auto inked = [](const std::vector<bool>& ink) {
        return std::count(ink.begin(), ink.end(), true);
    };
    EXPECT_GT(inked(custom), 7 * 15);
    EXPECT_GT(inked(magnifier), 7 * 15);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < custom.size(); ++i)
        differing += custom[i] != magnifier[i] ? 1 : 0;
    EXPECT_GT(differing, 7u * 10) << "the two captions have the same shape: drawn as boxes?";
}

TEST_F(HuegrabExe, AltTildeTracksAKnownColorIntoTheReadoutsAndTheCopyButtons) {
    const auto target = KnownColorWindow();
    ASSERT_NE(target, nullptr);
    EXPECT_TRUE(huegrab.WaitForColor("Label8", -1, kLampGreen)); // comes up stopped
    const POINT at = target->StripeCentre(0);
    PickAt(at, kKnown);
    EXPECT_TRUE(huegrab.WaitForColor("色块", 0, kKnown)); // the focused slot follows

    const ColorSample expected = MakeColorSample(at.x, at.y, kKnown);
    const struct {
        const char* field;
        std::string text;
    } readouts[] = {
        {"得x", std::to_string(at.x)},
        {"得y", std::to_string(at.y)},
        {"得16", expected.hex},
        {"得10", std::to_string(kKnown)},
        {"得10r", std::to_string(expected.r)},
        {"得10g", std::to_string(expected.g)},
        {"得10b", std::to_string(expected.b)},
        {"得10h", std::to_string(expected.h)},
    };
    for (const auto& readout : readouts)
        EXPECT_EQ(huegrab.FieldText(readout.field), readout.text) << readout.field;

    // The copy buttons put their text on the Windows clipboard.
    huegrab.Click("Command11", 0);
    EXPECT_EQ(ClipboardText(), std::to_string(at.x) + "," + std::to_string(at.y));
    huegrab.Click("Command11", 5);
    EXPECT_EQ(ClipboardText(), "\"" + expected.hex + "\"");
}

TEST_F(HuegrabExe, SlotsGoToConfigIniBesideTheProgramAndTheCloseSavesTheFocusedOne) {
    const auto target = KnownColorWindow();
    ASSERT_NE(target, nullptr);
    const POINT at = target->StripeCentre(0);
    PickAt(at, kKnown);
    huegrab.Click("色块", 2); // slot "3": the pick goes to P0

    // Bytes the system's own INI reader takes back.
    const std::filesystem::path config = huegrab.ConfigPath();
    ASSERT_TRUE(PumpUntil([&] { return Profile(config, "P0", "C") != "<missing>"; }))
        << huegrab.ConfigBytes();
    const ColorSample expected = MakeColorSample(at.x, at.y, kKnown);
    EXPECT_EQ(Profile(config, "P0", "X"), std::to_string(at.x));
    EXPECT_EQ(Profile(config, "P0", "Y"), std::to_string(at.y));
    EXPECT_EQ(Profile(config, "P0", "C"), std::to_string(kKnown));
    EXPECT_EQ(Profile(config, "P0", "R"), std::to_string(expected.r));
    EXPECT_EQ(Profile(config, "P0", "L"), std::to_string(expected.l));
    EXPECT_EQ(huegrab.ConfigBytes().rfind("[P0]\r\nX=", 0), 0u) << huegrab.ConfigBytes();

    // Alt+F4 closes the window; the close stores the focused slot, empty.
    huegrab.Click("Label9");
    PressKeys({VK_MENU, VK_F4});
    ASSERT_EQ(huegrab.WaitForExit(std::chrono::seconds(10)), std::optional<DWORD>(0));
    EXPECT_EQ(Profile(config, "P2", "X"), "");
    EXPECT_EQ(Profile(config, "P2", "C"), "");
    EXPECT_EQ(Profile(config, "P0", "C"), std::to_string(kKnown));

    // Started again, slot 1 shows the pick.
    ASSERT_TRUE(huegrab.Start());
    EXPECT_TRUE(huegrab.WaitForColor("色块", 0, kKnown));
}

TEST_F(HuegrabExe, TheWindowPanelFindsAWindowByTitleAndItsHandleIsTheWindows) {
    const auto target = KnownColorWindow();
    ASSERT_NE(target, nullptr);
    huegrab.Click("Option2", 2);  // the window panel
    huegrab.Click("句柄选项", 1); // its search page
    const std::string title = Narrow(kTargetTitle);
    ASSERT_TRUE(SetClipboardText("\"" + title + "\""));
    huegrab.Click("Command11", 10); // paste the title
    EXPECT_EQ(huegrab.FieldText("Text4"), "\"" + title + "\"");
    huegrab.Click("Command8");
    const std::string results = huegrab.FieldText("Text5");
    ASSERT_EQ(results.rfind("[1]", 0), 0u) << results;

    const std::string digits = results.substr(3, results.find_first_of("\r\n") - 3);
    const HWND found = win32::ToHwnd(static_cast<WindowHandle>(std::stoll(digits)));
    EXPECT_TRUE(::IsWindow(found)) << digits;
    EXPECT_EQ(found, ::FindWindowW(nullptr, kTargetTitle));
    EXPECT_EQ(found, target->Handle());
}

TEST_F(HuegrabExe, TheArrowsCursorCodeIsTheSameEachTimeAndNotTheIBeams) {
    const auto target = KnownColorWindow();
    ASSERT_NE(target, nullptr);
    huegrab.Click("Option2", 1); // the cursor panel
    const auto codeAt = [&](POINT at) {
        PressHotkey();
        EXPECT_TRUE(huegrab.WaitForColor("Label8", -1, kLampRed));
        MovePointer(at);
        PumpMessages(std::chrono::milliseconds(400));
        PressHotkey();
        EXPECT_TRUE(huegrab.WaitForColor("Label8", -1, kLampGreen));
        return huegrab.FieldText("鼠标特征码");
    };
    const std::string arrow = codeAt(target->StripeCentre(0));
    ASSERT_FALSE(arrow.empty());
    EXPECT_EQ(arrow.find_first_not_of("0123456789"), std::string::npos) << arrow;
    EXPECT_EQ(codeAt(POINT{50, 150}), arrow); // the same window, another point
    // Over a text field of the program itself: the I-beam.
    const std::string beam = codeAt(huegrab.Centre("自x"));
    EXPECT_NE(beam, arrow);
    EXPECT_EQ(codeAt(target->StripeCentre(0)), arrow);
}

} // namespace
} // namespace huegrab::win32test
