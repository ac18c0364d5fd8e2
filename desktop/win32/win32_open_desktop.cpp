#include "desktop/open_desktop.h"
#include "desktop/win32/win32_desktop.h"
#include "desktop/win32/win32_text.h"

#include <memory>

// clang-format off
#include <windows.h>
#include <shellapi.h> // after windows.h, which it needs
// clang-format on
#undef OpenDesktop // user32's OpenDesktopW, not this one

namespace huegrab {

std::unique_ptr<DesktopServices> OpenDesktop(std::string& whyNot) {
    if (auto desktop = Win32Desktop::Open())
        return desktop;
    whyNot = "cannot create the hidden window that receives the global hotkey.";
    return nullptr;
}

void ExitWhenTheDesktopIsLost(const char* /*program*/, int /*status*/) {}

void UseDevicePixels() {
    // Per-monitor awareness (Windows 10 1703 on) where there is one, else
    // the system-wide kind (Vista on); looked up, so older systems start.
    using SetContext = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    const auto setContext = user32 ? reinterpret_cast<SetContext>(reinterpret_cast<void (*)()>(
                                         ::GetProcAddress(user32, "SetProcessDpiAwarenessContext")))
                                   : nullptr;
    if (setContext && setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2))
        return;
    ::SetProcessDPIAware();
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    struct LocalFreeDeleter {
        void operator()(LPWSTR* block) const { ::LocalFree(block); }
    };
    int count = 0;
    const std::unique_ptr<LPWSTR, LocalFreeDeleter> wide(
        ::CommandLineToArgvW(::GetCommandLineW(), &count));
    if (!wide)
        return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) {
        arguments.push_back(win32::Utf16ToUtf8(reinterpret_cast<const char16_t*>(wide.get()[i]),
                                               std::string::npos));
    }
    return arguments;
}

} // namespace huegrab
