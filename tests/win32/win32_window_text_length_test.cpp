// Window text as the backend reads it from a window that answers
// WM_GETTEXT with a length larger than the buffer it was given.
#include "desktop/win32/win32_desktop.h"
#include "desktop/win32/win32_window_handle.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace huegrab {
namespace {

constexpr wchar_t kBoastfulClass[] = L"HuegrabBoastfulTextWindow";

LRESULT CALLBACK BoastfulProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETTEXT && wParam > 0) {
        auto* out = reinterpret_cast<wchar_t*>(lParam);
        out[0] = L'o';
        out[1] = L'k';
        out[2] = L'\0';
        return 1 << 20; // far more than the buffer holds
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

TEST(Win32WindowTextLength, AWindowThatOverstatesItsTextLengthReadsSafely) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = BoastfulProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kBoastfulClass;
    ASSERT_TRUE(::RegisterClassExW(&windowClass) != 0 ||
                ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS);
    const HWND window = ::CreateWindowExW(0, kBoastfulClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                          nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    const auto desktop = Win32Desktop::Open();
    ASSERT_NE(desktop, nullptr);
    EXPECT_EQ(desktop->WindowText(win32::ToHandle(window)), "ok");
    ::DestroyWindow(window);
}

} // namespace
} // namespace huegrab
