// Top-level windows that close while the backend walks the window list.
#include "desktop/win32/win32_desktop.h"
#include "desktop/win32/win32_window_handle.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>
#include <vector>
#include <windows.h>

namespace huegrab {
namespace {

constexpr wchar_t kChurnClass[] = L"HuegrabChurnWindow";

bool RegisterChurnClass() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kChurnClass;
    return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND MakeWindow(const wchar_t* title) {
    return ::CreateWindowExW(0, kChurnClass, title, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

// A window that stays open the whole time lies below windows that another
// thread keeps opening and closing. Every walk must still find it: a window
// closed under the walk may drop out of the list, but the windows after it
// must not.
TEST(Win32WindowVanish, AWindowClosedDuringTheWalkDoesNotHideTheWindowsBelowIt) {
    ASSERT_TRUE(RegisterChurnClass());
    const auto desktop = Win32Desktop::Open();
    ASSERT_NE(desktop, nullptr);
    const HWND stable = MakeWindow(L"vanish stable");
    ASSERT_NE(stable, nullptr);
    const WindowHandle stableHandle = win32::ToHandle(stable);

    std::atomic<bool> stop{false};
    std::atomic<int> ready{0};
    constexpr int kChurners = 4;
    std::vector<std::thread> churners;
    for (int t = 0; t < kChurners; ++t)
        churners.emplace_back([&] {
            std::vector<HWND> windows;
            for (int i = 0; i < 40; ++i)
                windows.push_back(MakeWindow(L"vanish churn"));
            ++ready;
            std::size_t next = 0;
            while (!stop) {
                ::DestroyWindow(windows[next]);
                windows[next] = MakeWindow(L"vanish churn");
                next = (next + 1) % windows.size();
                MSG message;
                while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                    ::DispatchMessageW(&message);
            }
            for (const HWND window : windows)
                ::DestroyWindow(window);
        });
    while (ready < kChurners)
        std::this_thread::yield();

    int walks = 0;
    int missed = 0;
    std::size_t shortest = SIZE_MAX;
    // A few seconds of walks: each closing rarely lands between two steps.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    for (; std::chrono::steady_clock::now() < until; ++walks) {
        const std::vector<WindowHandle> handles = desktop->TopLevelWindows();
        shortest = std::min(shortest, handles.size());
        if (std::find(handles.begin(), handles.end(), stableHandle) == handles.end())
            ++missed;
    }
    stop = true;
    for (std::thread& churn : churners)
        churn.join();
    ::DestroyWindow(stable);
    EXPECT_EQ(missed, 0) << "the open window was missing from " << missed << " of " << walks
                         << " walks; the shortest walk listed " << shortest << " windows";
}

// Windows that another thread keeps sending to the bottom of the stack while
// the walk runs: each open window is listed once, never twice.
TEST(Win32WindowVanish, AWindowRestackedDuringTheWalkIsListedOnce) {
    ASSERT_TRUE(RegisterChurnClass());
    const auto desktop = Win32Desktop::Open();
    ASSERT_NE(desktop, nullptr);
    std::atomic<bool> stop{false};
    std::atomic<bool> ready{false};
    std::thread restack([&] {
        std::vector<HWND> windows;
        for (int i = 0; i < 40; ++i)
            windows.push_back(MakeWindow(L"vanish restacked"));
        ready = true;
        for (std::size_t next = 0; !stop; next = (next + 1) % windows.size()) {
            ::SetWindowPos(windows[next], HWND_BOTTOM, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            MSG message;
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                ::DispatchMessageW(&message);
        }
        for (const HWND window : windows)
            ::DestroyWindow(window);
    });
    while (!ready)
        std::this_thread::yield();
    int walks = 0;
    int withTwins = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    for (; std::chrono::steady_clock::now() < until; ++walks) {
        std::vector<WindowHandle> handles = desktop->TopLevelWindows();
        std::sort(handles.begin(), handles.end());
        if (std::adjacent_find(handles.begin(), handles.end()) != handles.end())
            ++withTwins;
    }
    stop = true;
    restack.join();
    EXPECT_EQ(withTwins, 0) << withTwins << " of " << walks << " walks listed a window twice";
}

} // namespace
} // namespace huegrab
