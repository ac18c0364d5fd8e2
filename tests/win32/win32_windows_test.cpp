// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/win32/win32_desktop.h"
#include "desktop/win32/win32_text.h"
#include "desktop/win32/win32_window_handle.h"
#include "tests/win32/support/test_windows.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cwchar>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace huegrab {
namespace {

using win32test::PumpUntil;
using win32test::TestWindow;
using win32test::TestWindowOptions;

std::string Repeat(std::string_view text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

std::wstring Wide(const std::string& utf8) {
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(static_cast<std::size_t>(
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                              static_cast<int>(wide.size()))));
    return wide;
}

// Titles as the window gets them (UTF-8 here) and as the walk hands them on.
const struct TitleCase {
    const char* name;
    std::string title;
    std::string expected;
} kTitles[] = {
    {"CJK", "取色器 測試 ウィンドウ", "取色器 測試 ウィンドウ"},
    {"ASCII over 254 bytes", Repeat("a", 300), Repeat("a", 254)},
    {"254th byte inside a CJK character", Repeat("a", 253) + "中文", Repeat("a", 253)},
    {"CJK ending on byte 254", Repeat("a", 251) + "中文", Repeat("a", 251) + "中"},
    {"surrogate pairs over 254 bytes", Repeat("😀", 70), Repeat("😀", 63)},
    {"untitled", "", ""},
};

TEST(Win32Windows, TheWalkFindsTitledWindowsWithTheirTitlesCut) {
    const auto desktop = Win32Desktop::Open();
    ASSERT_NE(desktop, nullptr);
    std::vector<std::unique_ptr<TestWindow>> windows;
    for (const TitleCase& c : kTitles) {
        TestWindowOptions options;
        options.title = Wide(c.title);
        options.visible = false; // hidden windows are top-level windows too
        windows.push_back(TestWindow::Create(options));
        ASSERT_NE(windows.back(), nullptr) << c.name;
    }
    const std::vector<WindowHandle> walk = desktop->TopLevelWindows();
    for (std::size_t i = 0; i < windows.size(); ++i) {
        SCOPED_TRACE(kTitles[i].name);
        const WindowHandle handle = win32::ToHandle(windows[i]->Handle());
        EXPECT_NE(std::find(walk.begin(), walk.end(), handle), walk.end());
        const std::string title = desktop->WindowText(handle);
        EXPECT_EQ(title, kTitles[i].expected);
        EXPECT_LE(title.size(), kMaxWindowTextBytes);
        EXPECT_EQ(desktop->ClassName(handle), "HuegrabTestWindow");
    }
    // A handle that names no window reads as no title and no class.
    const WindowHandle gone = win32::ToHandle(windows.front()->Handle());
    windows.front().reset();
    EXPECT_EQ(desktop->WindowText(gone), "");
    EXPECT_EQ(desktop->ClassName(gone), "");
    EXPECT_EQ(desktop->WindowText(0), "");
}

// Another thread keeps closing and reopening its windows, or sending them
// to the bottom, above a window that stays: every walk still lists the
// window that stays, and no window twice.
TEST(Win32Windows, TheWalkHoldsWhileOtherWindowsCloseAndMove) {
    const auto desktop = Win32Desktop::Open();
    ASSERT_NE(desktop, nullptr);
    const auto stays = TestWindow::Create({});
    ASSERT_NE(stays, nullptr);
    const WindowHandle staying = win32::ToHandle(stays->Handle());
    for (const bool reopen : {true, false}) {
        SCOPED_TRACE(reopen ? "closed and reopened" : "sent to the bottom");
        std::atomic<bool> stop{false};
        std::atomic<bool> ready{false};
        std::thread churn([&] {
            const auto open = [] {
                return ::CreateWindowExW(WS_EX_TOPMOST, TestWindow::kClassName, L"churn", WS_POPUP,
                                         0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
            };
            std::vector<HWND> windows(40);
            std::generate(windows.begin(), windows.end(), open);
            ready = true;
            for (std::size_t next = 0; !stop; next = (next + 1) % windows.size()) {
                if (reopen) {
                    ::DestroyWindow(windows[next]);
                    windows[next] = open();
                } else {
                    ::SetWindowPos(windows[next], HWND_BOTTOM, 0, 0, 0, 0,
                                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                }
            }
            std::for_each(windows.begin(), windows.end(), ::DestroyWindow);
        });
        while (!ready)
            std::this_thread::yield();
        int walks = 0, missed = 0, twice = 0;
        for (const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
             std::chrono::steady_clock::now() < end; ++walks) {
            std::vector<WindowHandle> walk = desktop->TopLevelWindows();
            missed += std::find(walk.begin(), walk.end(), staying) == walk.end() ? 1 : 0;
            std::sort(walk.begin(), walk.end());
            twice += std::adjacent_find(walk.begin(), walk.end()) != walk.end() ? 1 : 0;
        }
        stop = true;
        churn.join();
        EXPECT_EQ(missed, 0) << "of " << walks << " walks";
        EXPECT_EQ(twice, 0) << "of " << walks << " walks";
    }
}

// A window of this program answers WM_GETTEXT itself, and may claim more
// than the buffer holds: the text is read no further than the buffer.
LRESULT CALLBACK Boasting(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_GETTEXT || wParam < 3)
        return ::DefWindowProcW(window, message, wParam, lParam);
    std::wcscpy(reinterpret_cast<wchar_t*>(lParam), L"ok");
    return 1 << 20;
}

TEST(Win32Windows, ATextLongerThanItsBufferIsNotReadPastIt) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = Boasting;
    windowClass.lpszClassName = L"HuegrabBoastingWindow";
    ASSERT_NE(::RegisterClassExW(&windowClass), 0);
    const HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10,
                                          nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Win32Desktop::Open()->WindowText(win32::ToHandle(window)), "ok");
    ::DestroyWindow(window);
}

TEST(Win32Windows, TheWalkRunsFromTheTopmostWindowDown) {
    const auto desktop = Win32Desktop::Open();
    ASSERT_NE(desktop, nullptr);
    TestWindowOptions options;
    options.title = L"lower";
    const auto lower = TestWindow::Create(options);
    options.title = L"upper";
    const auto upper = TestWindow::Create(options);
    ASSERT_TRUE(lower && upper);
    const auto position = [&](const TestWindow& window) {
        const std::vector<WindowHandle> walk = desktop->TopLevelWindows();
        return std::find(walk.begin(), walk.end(), win32::ToHandle(window.Handle())) - walk.begin();
    };
    ::SetWindowPos(upper->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_LT(position(*upper), position(*lower));
    ::SetWindowPos(lower->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_LT(position(*lower), position(*upper));
}

TEST(Win32Windows, WindowFromPointFindsTheWindowUnderAPoint) {
    const auto desktop = Win32Desktop::Open();
    ASSERT_NE(desktop, nullptr);
    TestWindowOptions options;
    options.title = L"left";
    options.x = 200;
    options.y = 300;
    const auto left = TestWindow::Create(options);
    options.title = L"right";
    options.x = 260;
    const auto right = TestWindow::Create(options);
    ASSERT_TRUE(left && right);
    const WindowHandle leftHandle = win32::ToHandle(left->Handle());
    const WindowHandle rightHandle = win32::ToHandle(right->Handle());
    ASSERT_TRUE(PumpUntil([&] { return desktop->WindowFromPoint({270, 310}) == rightHandle; }));
    const struct {
        ScreenPoint point;
        WindowHandle expected;
    } cases[] = {
        {{200, 300}, leftHandle},
        {{239, 339}, leftHandle},
        {{260, 300}, rightHandle},
        {{299, 339}, rightHandle},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(desktop->WindowFromPoint(c.point), c.expected) << c.point.x << "," << c.point.y;
        EXPECT_EQ(desktop->WindowText(desktop->WindowFromPoint(c.point)),
                  c.expected == leftHandle ? "left" : "right");
    }
    // The gap between them belongs to some other window.
    const WindowHandle between = desktop->WindowFromPoint({250, 320});
    EXPECT_NE(between, leftHandle);
    EXPECT_NE(between, rightHandle);
}

} // namespace
} // namespace huegrab
