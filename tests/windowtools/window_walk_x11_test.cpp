// SPDX-License-Identifier: GPL-3.0-or-later
// Search and list over a real X server managed by openbox, with windows of a
// second client; handles are checked against what xdotool makes of them.

#include "tests/x11/x11_server_test.h"
#include "windowtools/window_probe.h"
#include "windowtools/window_walk.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace huegrab {
namespace {

using xtest::TestWindowSetup;
using xtest::XId;

std::string Repeat(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

class WindowWalkX11 : public X11ServerTest<800, 600, true> {
protected:
    XId Make(const std::string& title, bool map = true) {
        TestWindowSetup setup;
        setup.netWmName = title;
        setup.map = map;
        const XId window = client_->CreateWindow(setup);
        EXPECT_NE(window, 0u);
        return window;
    }
    std::string Text(XId window) { return WindowHandleText(static_cast<WindowHandle>(window)); }
    // The title xdotool reads for a handle as we print it.
    std::string XdotoolTitle(const std::string& handle) {
        auto result = server_->Run({"xdotool", "getwindowname", handle});
        EXPECT_EQ(result.exitCode, 0) << handle;
        if (!result.output.empty() && result.output.back() == '\n')
            result.output.pop_back();
        return result.output;
    }
};

TEST_F(WindowWalkX11, SearchNumbersMatchesInWalkOrderCaseSensitively) {
    const XId lower = Make("probe-search lower");
    Make(""); // untitled, between the two
    const XId upper = Make("probe-search upper");
    const XId shouting = Make("PROBE-SEARCH shouting");
    // Never mapped, so never managed: created last, it sits on top of the
    // root's children, but the window manager does not list it.
    const XId hidden = Make("probe-search hidden", false);

    const auto walk = desktop_->TopLevelWindows();
    auto place = [&](XId w) {
        return std::find(walk.begin(), walk.end(), static_cast<WindowHandle>(w)) - walk.begin();
    };
    ASSERT_EQ(place(hidden), static_cast<std::ptrdiff_t>(walk.size()));
    ASSERT_LT(place(upper), place(lower));

    const std::string end(kWindowTextLineEnd);
    EXPECT_EQ(FindWindowsByTitle(*desktop_, "probe-search "),
              "[1]" + Text(upper) + end + "[2]" + Text(lower) + end);
    EXPECT_EQ(FindWindowsByTitle(*desktop_, "PROBE-SEARCH"), "[1]" + Text(shouting) + end);
    EXPECT_EQ(FindWindowsByTitle(*desktop_, "Probe-Search"), "");
}

TEST_F(WindowWalkX11, ListLinesCarryHandlesXdotoolTakesBackAndCutTitles) {
    const std::map<XId, std::string> expected{
        {Make("list plain"), "list plain"},
        {Make("列表 标题 – ünïcode"), "列表 标题 – ünïcode"},
        {Make(std::string(300, 'L')), std::string(254, 'L')},
        {Make(Repeat("窗", 100)), Repeat("窗", 84)}, // 300 bytes → 84 whole characters
    };
    const XId untitled = Make("");

    const auto lines = ListTopLevelWindows(*desktop_);
    ASSERT_FALSE(lines.empty());
    std::map<XId, std::string> listed;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        // Numbered 001, 002, … without a gap, whatever was left out.
        const std::string number = std::string("00") + std::to_string(i + 1);
        EXPECT_EQ(line.substr(0, 5), "[" + number.substr(number.size() - 3) + "]") << line;
        const std::string handle = HandleOfListLine(line);
        const std::string title = line.substr(line.find('=', line.find(']')) + 1);
        EXPECT_FALSE(title.empty()) << line;
        EXPECT_NE(handle, Text(untitled));
        // xdotool takes the handle as printed and names the same window; its
        // title is the full one, ours the cut one.
        EXPECT_EQ(XdotoolTitle(handle).substr(0, title.size()), title) << line;
        listed[static_cast<XId>(std::stoll(handle))] = title;
    }
    for (const auto& [window, title] : expected)
        EXPECT_EQ(listed[window], title) << window;
}

} // namespace
} // namespace huegrab
