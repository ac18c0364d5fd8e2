// SPDX-License-Identifier: GPL-3.0-or-later
// Search, list and the window-text rule over a scripted desktop.

#include "desktop/fake/fake_desktop.h"
#include "windowtools/window_probe.h"
#include "windowtools/window_walk.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace huegrab {
namespace {

std::string Repeat(const std::string& piece, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}

// Windows topmost first, each given as handle and title; the class is
// derived from the handle so that a mix-up shows.
FakeDesktop DesktopWith(const std::vector<std::pair<WindowHandle, std::string>>& windows) {
    FakeDesktop desktop(640, 480);
    for (const auto& [handle, title] : windows)
        desktop.windows.push_back({handle, title, "C" + std::to_string(handle)});
    return desktop;
}

TEST(FindWindowsByTitle, NumbersTheMatchesAndEndsEveryLineAsThePlatformDoes) {
    FakeDesktop desktop = DesktopWith({{101, "Notepad - a.txt"},
                                       {102, ""}, // untitled: never counted
                                       {103, "Calculator"},
                                       {-5, "notepad (lower case)"},
                                       {104, "Untitled - Notepad"},
                                       {105, "  Notepad  "}});
    const struct {
        const char* search;
        const char* expected;
    } cases[] = {
        {"Notepad", "[1]101|[2]104|[3]105|"},
        {"Calc", "[1]103|"},
        {"notepad", "[1]-5|"}, // case matters, handles signed
        {"NOTEPAD", ""},       // differs only in case: nothing
        {"", "[1]101|[2]103|[3]-5|[4]104|[5]105|"},
        {" Notepad ", "[1]105|"}, // no trimming of the search text
        {"Note*", ""},            // no wildcards
        {"a.txt", "[1]101|"},
        {"Calculator!", ""}, // longer than the title
    };
    // "|" stands for the platform's line end: LF, CR LF on Windows.
#ifdef _WIN32
    EXPECT_EQ(kWindowTextLineEnd, "\r\n");
#else
    EXPECT_EQ(kWindowTextLineEnd, "\n");
#endif
    for (const auto& c : cases) {
        SCOPED_TRACE(c.search);
        std::string expected = c.expected;
        for (std::size_t bar = expected.find('|'); bar != std::string::npos;
             bar = expected.find('|', bar))
            expected.replace(bar, 1, kWindowTextLineEnd);
        EXPECT_EQ(FindWindowsByTitle(desktop, c.search), expected);
        // The windows behind the lines, as the CLI's JSON lists them.
        std::string lines;
        std::size_t count = 0;
        for (const TitledWindow& window : WindowsWithTitle(desktop, c.search)) {
            lines += "[" + std::to_string(++count) + "]" + WindowHandleText(window.handle);
            lines += kWindowTextLineEnd;
        }
        EXPECT_EQ(lines, expected);
    }
}

TEST(ListTopLevelWindows, ThreeDigitNumbersSkipUntitledWindowsWithoutAGap) {
    // A title's line breaks would forge entries in the list and its copy.
    FakeDesktop desktop = DesktopWith({{7, "first"},
                                       {8, ""},
                                       {9, "a]b=c"},
                                       {-2147483647 - 1, "lowest"},
                                       {10, ""},
                                       {11, "x\r\n[005]1=forged\u2028y"}});
    const std::vector<std::string> expected{
        "[001]7=first", "[002]9=a]b=c", "[003]-2147483648=lowest", "[004]11=x  [005]1=forged y"};
    EXPECT_EQ(ListTopLevelWindows(desktop), expected);
    FakeDesktop untitledOnly = DesktopWith({{1, ""}, {2, std::string("\0hidden", 7)}});
    EXPECT_TRUE(ListTopLevelWindows(untitledOnly).empty());
    EXPECT_EQ(FindWindowsByTitle(untitledOnly, ""), "");
}

TEST(ListTopLevelWindows, TheCountKeepsOnlyItsLastThreeDigits) {
    FakeDesktop desktop(640, 480);
    for (WindowHandle handle = 1; handle <= 1300; ++handle) {
        // Every fifth window is untitled and must not be counted.
        const bool titled = handle % 5 != 0;
        desktop.windows.push_back({handle, titled ? "w" + std::to_string(handle) : "", "C"});
    }
    const auto lines = ListTopLevelWindows(desktop);
    ASSERT_EQ(lines.size(), 1040u);
    const struct {
        std::size_t index;
        const char* line;
    } cases[] = {
        {0, "[001]1=w1"},         {4, "[005]6=w6"},          {8, "[009]11=w11"},
        {9, "[010]12=w12"},       {99, "[100]124=w124"},     {998, "[999]1248=w1248"},
        {999, "[000]1249=w1249"}, {1000, "[001]1251=w1251"}, {1039, "[040]1299=w1299"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lines[c.index], c.line) << c.index;
}

TEST(HandleOfListLine, TakesWhatStandsBetweenTheFirstBracketAndTheNextEquals) {
    const struct {
        const char* line;
        const char* handle;
    } cases[] = {
        {"[001]123=title", "123"},
        {"[002]-77=a]b=c", "-77"}, // the title's own "]" and "=" do not count
        {"[003]9=[x]=y", "9"},
        {"[004]42=", "42"},
        {"[005]42", "42"}, // no "=": the rest of the line
        {"no bracket=1", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HandleOfListLine(c.line), c.handle) << c.line;
}

TEST(WindowTextRule, CutsAtTheFirstNulAndTo254BytesOnACharacterBoundary) {
    const std::string cjk = "\xE4\xB8\xAD";       // one three-byte character
    const std::string emoji = "\xF0\x9F\x8E\xA8"; // one four-byte character
    const struct {
        const char* name;
        std::string text;
        std::string expected;
    } cases[] = {
        {"short", "abc", "abc"},
        {"nul", std::string("ab\0cd", 5), "ab"},
        {"254 ascii", std::string(254, 'a'), std::string(254, 'a')},
        {"300 ascii", std::string(300, 'a'), std::string(254, 'a')},
        {"cjk over", Repeat(cjk, 100), Repeat(cjk, 84)}, // 252 bytes
        {"cjk cut by a backend", Repeat(cjk, 84) + "\xE4\xB8", Repeat(cjk, 84)},
        {"emoji over", "ab" + Repeat(emoji, 70), "ab" + Repeat(emoji, 63)}, // 254 bytes
        {"emoji split", "a" + Repeat(emoji, 70), "a" + Repeat(emoji, 63)},  // 253 bytes
        {"two-byte split", "x" + Repeat("\xC3\xA9", 127), "x" + Repeat("\xC3\xA9", 126)},
        {"stray continuation", "a\x80", "a\x80"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ApplyWindowTextRule(c.text), c.expected) << c.name;
}

TEST(WindowProbe, ReadsTheWindowUnderThePointerAndItsFacts) {
    FakeDesktop desktop = DesktopWith({});
    desktop.windows.push_back({55, "top", "TopClass", 10, 10, 100, 100});
    desktop.windows.push_back({66, std::string(300, 't'), std::string(260, 'c'), 0, 0, 640, 480});
    const struct {
        ScreenPoint pointer;
        bool pointerFails;
        WindowFacts expected;
    } cases[] = {
        {{50, 50}, false, {"55", "top", "TopClass"}},
        {{5, 5}, false, {"66", std::string(254, 't'), std::string(254, 'c')}},
        {{700, 5}, false, {"0", "", ""}},                                       // over no window
        {{50, 50}, true, {"66", std::string(254, 't'), std::string(254, 'c')}}, // read as (0, 0)
    };
    for (const auto& c : cases) {
        desktop.pointer = c.pointer;
        desktop.failCursorPos = c.pointerFails;
        EXPECT_EQ(DescribeWindow(desktop, WindowUnderPointer(desktop, desktop)), c.expected)
            << c.pointer.x << "," << c.pointer.y << " fails " << c.pointerFails;
    }
}

} // namespace
} // namespace huegrab
