// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/win32/win32_desktop.h"
#include "desktop/win32/win32_window_handle.h"
#include "tests/win32/support/test_windows.h"
#include "windowtools/window_walk.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace huegrab {
namespace {

using win32test::TestWindow;
using win32test::TestWindowOptions;

// The listing and the search over the real window walk: titled windows are
// listed with their titles cut by the 254-byte rule, untitled ones never.
TEST(Win32WindowWalk, ListsAndFindsTitledWindowsOnly) {
    const auto desktop = Win32Desktop::Open();
    ASSERT_NE(desktop, nullptr);
    const struct {
        std::wstring title;
        std::string listed; // empty: never listed
    } cases[] = {
        {L"walk 取色 one", "walk 取色 one"},
        {L"", ""},
        {L"walk " + std::wstring(249, L'x') + L"中", "walk " + std::string(249, 'x')},
        {L"walk two", "walk two"},
    };
    std::vector<std::unique_ptr<TestWindow>> windows;
    for (const auto& c : cases) {
        TestWindowOptions options;
        options.title = c.title;
        options.visible = false;
        windows.push_back(TestWindow::Create(options));
        ASSERT_NE(windows.back(), nullptr);
    }

    const std::vector<std::string> lines = ListTopLevelWindows(*desktop);
    const std::string found = FindWindowsByTitle(*desktop, "walk ");
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const std::string handle = std::to_string(win32::ToHandle(windows[i]->Handle()));
        const auto line = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
            return HandleOfListLine(l) == handle;
        });
        const bool searchHit = found.find("]" + handle + "\r\n") != std::string::npos;
        if (cases[i].listed.empty()) {
            EXPECT_EQ(line, lines.end()) << "an untitled window is listed: " << *line;
            EXPECT_FALSE(searchHit);
        } else {
            ASSERT_NE(line, lines.end()) << cases[i].listed;
            EXPECT_EQ(line->substr(line->find('=') + 1), cases[i].listed);
            EXPECT_TRUE(searchHit) << found;
        }
    }
    // The numbering counts titled windows only, without gaps.
    for (std::size_t i = 0; i < lines.size() && i < 999; ++i) {
        char number[8];
        std::snprintf(number, sizeof number, "[%03zu]", i + 1);
        EXPECT_EQ(lines[i].rfind(number, 0), 0u) << lines[i];
    }
}

} // namespace
} // namespace huegrab
