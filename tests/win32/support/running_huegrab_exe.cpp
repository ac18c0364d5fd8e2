// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/win32/support/running_huegrab_exe.h"

#include "app/form/layout_table.h"
#include "tests/win32/support/test_windows.h"

#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>

namespace huegrab::win32test {
namespace {

// The program as the build names it: a host path under wine, whose drive
// for the host's root is Z:.
std::wstring BuiltProgram() {
    std::wstring path = Widen(HUEGRAB_EXE);
    if (path.starts_with(L'/'))
        path = L"Z:" + path;
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

std::filesystem::path FreshFolder() {
    static int made = 0;
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::filesystem::path folder =
        std::filesystem::path(temp) /
        ("huegrab-e2e-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++made));
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder, ignored);
    return folder;
}

struct FindWindowOf {
    DWORD process = 0;
    HWND found = nullptr;
};

BOOL CALLBACK FindProgramWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<FindWindowOf*>(param);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    wchar_t title[64] = {};
    ::GetWindowTextW(window, title, 64);
    if (process == search->process && ::IsWindowVisible(window) &&
        std::wstring_view(title).starts_with(L"Huegrab")) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

void SendMouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof(input));
}

} // namespace

RunningHuegrabExe::RunningHuegrabExe() : folder_(FreshFolder()) {}

RunningHuegrabExe::~RunningHuegrabExe() {
    if (process_.hProcess) {
        if (!WaitForExit(std::chrono::milliseconds(0))) {
            if (window_)
                ::PostMessageW(window_, WM_CLOSE, 0, 0);
            if (!WaitForExit(std::chrono::milliseconds(5000)))
                ::TerminateProcess(process_.hProcess, 1);
        }
        ::CloseHandle(process_.hProcess);
        ::CloseHandle(process_.hThread);
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

bool RunningHuegrabExe::Start() {
    if (process_.hProcess) {
        ::CloseHandle(process_.hProcess);
        ::CloseHandle(process_.hThread);
        process_ = {};
    }
    window_ = nullptr;
    const std::filesystem::path program = folder_ / "huegrab.exe";
    if (!std::filesystem::exists(program) &&
        !::CopyFileW(BuiltProgram().c_str(), program.c_str(), TRUE)) {
        ADD_FAILURE() << "cannot copy " << HUEGRAB_EXE << ": error " << ::GetLastError();
        return false;
    }
    // The Chinese window whatever the locale: the tests read its captions.
    std::wstring line = L"\"" + program.wstring() + L"\" --lang zh";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder_.c_str(), &startup, &process_)) {
        ADD_FAILURE() << "cannot start huegrab.exe: error " << ::GetLastError();
        return false;
    }
    FindWindowOf search{process_.dwProcessId, nullptr};
    const bool shown = PumpUntil(
        [&] {
            ::EnumWindows(FindProgramWindow, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        std::chrono::seconds(30));
    if (!shown)
        return false;
    window_ = search.found;
    // Let it settle and paint before anything reads its pixels.
    POINT before{};
    const bool settled = PumpUntil([&] {
        POINT now{};
        ::ClientToScreen(window_, &now);
        const bool same = now.x == before.x && now.y == before.y;
        before = now;
        PumpMessages(std::chrono::milliseconds(150));
        return same;
    });
    origin_ = before;
    return settled;
}

std::optional<DWORD> RunningHuegrabExe::WaitForExit(std::chrono::milliseconds timeout) {
    if (!process_.hProcess)
        return std::nullopt;
    const bool ended = PumpUntil(
        [&] { return ::WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; }, timeout);
    DWORD code = 0;
    if (!ended || !::GetExitCodeProcess(process_.hProcess, &code))
        return std::nullopt;
    return code;
}

std::string RunningHuegrabExe::ConfigBytes() const {
    std::ifstream in(ConfigPath(), std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

RECT RunningHuegrabExe::ScreenRect(std::string_view name, int index) const {
    const std::optional<TwipsRect> twips = ClientTwips({name, index});
    EXPECT_TRUE(twips) << "no control " << name << "(" << index << ")";
    if (!twips)
        return RECT{origin_.x, origin_.y, origin_.x, origin_.y};
    const LONG left = origin_.x + TwipsToPixels(twips->left);
    const LONG top = origin_.y + TwipsToPixels(twips->top);
    return RECT{left, top, left + TwipsToPixels(twips->width), top + TwipsToPixels(twips->height)};
}

POINT RunningHuegrabExe::Centre(std::string_view name, int index) const {
    const RECT rect = ScreenRect(name, index);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

POINT RunningHuegrabExe::Inside(std::string_view name, int index) const {
    const RECT rect = ScreenRect(name, index);
    return POINT{rect.left + 3, rect.top + 3};
}

void RunningHuegrabExe::Click(std::string_view name, int index) {
    ClickAt(Centre(name, index));
}

std::string RunningHuegrabExe::FieldText(std::string_view name, int index) {
    static const std::string kSentinel = "\x01no copy\x01";
    SetClipboardText(kSentinel);
    Click(name, index);
    PressKeys({VK_CONTROL, 'A'});
    PressKeys({VK_CONTROL, 'C'});
    std::optional<std::string> text;
    PumpUntil(
        [&] {
            text = ClipboardText();
            return text && *text != kSentinel;
        },
        std::chrono::milliseconds(2000));
    return text && *text != kSentinel ? *text : std::string();
}

bool RunningHuegrabExe::WaitForColor(std::string_view name, int index, ColorValue color) {
    const POINT at = Inside(name, index);
    return PumpUntil([&] { return ScreenPixel(at) == color; });
}

void MovePointer(POINT to) {
    // Absolute moves are on a 0 ... 65535 scale across the primary screen;
    // rounded up, the scale maps back onto the very pixel.
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, (to.x * 65536 + width - 1) / width,
              (to.y * 65536 + height - 1) / height);
    const bool arrived = PumpUntil(
        [&] {
            POINT now{};
            return ::GetCursorPos(&now) && now.x == to.x && now.y == to.y;
        },
        std::chrono::milliseconds(1000));
    EXPECT_TRUE(arrived) << "the pointer did not reach " << to.x << "," << to.y;
}

void ClickAt(POINT at) {
    MovePointer(at);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    PumpMessages(std::chrono::milliseconds(30));
    SendMouse(MOUSEEVENTF_LEFTUP);
    PumpMessages(std::chrono::milliseconds(150));
}

void PressKeys(std::initializer_list<WORD> keys) {
    for (const WORD key : keys)
        SendKey(key, true);
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it)
        SendKey(*it, false);
    PumpMessages(std::chrono::milliseconds(150));
}

ColorValue ScreenPixel(POINT at) {
    const HDC screen = ::GetDC(nullptr);
    const COLORREF pixel = ::GetPixel(screen, at.x, at.y);
    ::ReleaseDC(nullptr, screen);
    return static_cast<ColorValue>(pixel);
}

namespace {

// The clipboard is one per session; another program may hold it a moment.
bool OpenTheClipboard() {
    return PumpUntil([] { return ::OpenClipboard(nullptr) != FALSE; },
                     std::chrono::milliseconds(2000));
}

} // namespace

std::optional<std::string> ClipboardText() {
    if (!OpenTheClipboard())
        return std::nullopt;
    std::optional<std::string> text;
    if (const HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* wide = static_cast<const wchar_t*>(::GlobalLock(data))) {
            text = Narrow(wide);
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

bool SetClipboardText(const std::string& utf8) {
    const std::wstring wide = Widen(utf8);
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory)
        return false;
    std::memcpy(::GlobalLock(memory), wide.c_str(), bytes);
    ::GlobalUnlock(memory);
    if (!OpenTheClipboard()) {
        ::GlobalFree(memory);
        return false;
    }
    ::EmptyClipboard();
    const bool set = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (!set)
        ::GlobalFree(memory); // still ours
    ::CloseClipboard();
    return set;
}

std::wstring Widen(std::string_view utf8) {
    const int size =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                          size);
    return wide;
}

std::string Narrow(std::wstring_view wide) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size,
                          nullptr, nullptr);
    return utf8;
}

} // namespace huegrab::win32test
