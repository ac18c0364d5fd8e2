// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/win32/support/test_windows.h"

#include "desktop/win32/win32_handles.h"

#include <thread>

namespace huegrab::win32test {

std::unique_ptr<TestWindow> TestWindow::Create(const TestWindowOptions& options) {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &TestWindow::WindowProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kClassName;
        return ::RegisterClassExW(&windowClass) != 0;
    }();
    if (!registered)
        return nullptr;
    std::unique_ptr<TestWindow> window(new TestWindow(options));
    window->window_ =
        ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, options.title.c_str(),
                          WS_POPUP, options.x, options.y, options.width, options.height, nullptr,
                          nullptr, ::GetModuleHandleW(nullptr), window.get());
    if (!window->window_)
        return nullptr;
    if (options.visible) {
        ::ShowWindow(window->window_, SW_SHOWNOACTIVATE);
        ::UpdateWindow(window->window_);
    }
    return window;
}

TestWindow::~TestWindow() {
    if (window_) {
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        ::DestroyWindow(window_);
    }
}

RECT TestWindow::StripeRect(std::size_t i) const {
    const int count = static_cast<int>(options_.stripes.size());
    const int width = options_.width / count;
    const int left = options_.x + static_cast<int>(i) * width;
    return RECT{left, options_.y, left + width, options_.y + options_.height};
}

POINT TestWindow::StripeCentre(std::size_t i) const {
    const RECT rect = StripeRect(i);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

LRESULT CALLBACK TestWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TestWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_ERASEBKGND)
        return 1; // WM_PAINT covers every pixel
    if (message == WM_PAINT && self) {
        PAINTSTRUCT paint;
        const HDC dc = ::BeginPaint(window, &paint);
        RECT client;
        ::GetClientRect(window, &client);
        const auto& stripes = self->options_.stripes;
        const int width = client.right / static_cast<int>(stripes.size());
        for (std::size_t i = 0; i < stripes.size(); ++i) {
            const int left = static_cast<int>(i) * width;
            // The last stripe takes what the division leaves over.
            const RECT rect{left, 0, i + 1 == stripes.size() ? client.right : left + width,
                            client.bottom};
            const win32::Brush brush(::CreateSolidBrush(static_cast<COLORREF>(stripes[i])));
            ::FillRect(dc, &rect, brush.Get());
        }
        ::EndPaint(window, &paint);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void PumpMessages(std::chrono::milliseconds duration) {
    PumpUntil([] { return false; }, duration);
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        if (done())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void SendKey(WORD virtualKey, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    ::SendInput(1, &input, sizeof(input));
}

} // namespace huegrab::win32test
