// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "color/color_model.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <windows.h>

namespace huegrab::win32test {

// The built huegrab.exe, copied into a fresh folder of its own (so that its
// config.ini lands there) and driven like a user: SendInput for the mouse
// and keys, the screen's pixels and the Windows clipboard for what it shows.
class RunningHuegrabExe {
public:
    RunningHuegrabExe();
    ~RunningHuegrabExe();
    RunningHuegrabExe(const RunningHuegrabExe&) = delete;
    RunningHuegrabExe& operator=(const RunningHuegrabExe&) = delete;

    // Starts the program and waits for its window; false when it does not
    // come. Can be called again once the program has ended.
    bool Start();
    // Waits for the program to end; its exit code.
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout);

    HWND Window() const { return window_; }
    const std::filesystem::path& Folder() const { return folder_; }
    std::filesystem::path ConfigPath() const { return folder_ / "config.ini"; }
    // The bytes of config.ini beside the program; empty when there is none.
    std::string ConfigBytes() const;

    // A control's rectangle on the screen, from the window's client origin
    // and the layout table.
    RECT ScreenRect(std::string_view name, int index = -1) const;
    POINT Centre(std::string_view name, int index = -1) const;
    // Just inside the control's top-left corner, clear of its border.
    POINT Inside(std::string_view name, int index = -1) const;

    void Click(std::string_view name, int index = -1);
    // A text field's text as a user copies it: click, Ctrl+A, Ctrl+C.
    std::string FieldText(std::string_view name, int index = -1);
    // Polls (handling this thread's messages) until the screen shows
    // `colour` at the control's Inside point.
    bool WaitForColor(std::string_view name, int index, ColorValue color);

private:
    std::filesystem::path folder_;
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
    POINT origin_{};
};

// Real input through the system's queue, as a mouse and a keyboard give it.
void MovePointer(POINT to);
void ClickAt(POINT at);
// Presses the keys in order and releases them in reverse: {VK_MENU, VK_F4}.
void PressKeys(std::initializer_list<WORD> keys);

// The screen's pixel (0x00BBGGRR).
ColorValue ScreenPixel(POINT at);
// The clipboard's text as UTF-8; nullopt when it holds none.
std::optional<std::string> ClipboardText();
bool SetClipboardText(const std::string& utf8);

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

} // namespace huegrab::win32test
