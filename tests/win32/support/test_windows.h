// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "color/color_model.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include <windows.h>

namespace huegrab::win32test {

// What a test window looks like. Its client area is painted in solid
// vertical stripes of equal width, left to right (0x00BBGGRR colours).
struct TestWindowOptions {
    std::wstring title;
    int x = 0;
    int y = 0;
    int width = 40;
    int height = 40;
    std::vector<ColorValue> stripes{0x000000};
    bool visible = true;
};

// A borderless top-most window of this test program, destroyed with it.
class TestWindow {
public:
    static constexpr const wchar_t* kClassName = L"HuegrabTestWindow";

    // nullptr when the window cannot be made.
    static std::unique_ptr<TestWindow> Create(const TestWindowOptions& options);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND Handle() const { return window_; }
    const TestWindowOptions& Options() const { return options_; }
    // Screen rectangle of stripe i, and its middle point.
    RECT StripeRect(std::size_t i) const;
    POINT StripeCentre(std::size_t i) const;

private:
    explicit TestWindow(TestWindowOptions options) : options_(std::move(options)) {}
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    TestWindowOptions options_;
    HWND window_ = nullptr;
};

// Handles this thread's messages (painting, hotkeys) for `duration`.
void PumpMessages(std::chrono::milliseconds duration);
// Handles messages until `done` holds or `timeout` passes; true if it held.
bool PumpUntil(const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::seconds(5));

// Presses (down) or releases a key through the system's input queue, as a
// keyboard would.
void SendKey(WORD virtualKey, bool down);

} // namespace huegrab::win32test
