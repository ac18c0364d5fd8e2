// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/program_arguments.h"
#include "platform/win32/kernel_handles.h"
#include "platform/win32/wide_text.h"

// clang-format off
#include <windows.h>
#include <shellapi.h> // after windows.h, which it needs
// clang-format on

namespace huegrab::platform {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    int count = 0;
    const win32::UniqueLocalMemory<LPWSTR*> wide(::CommandLineToArgvW(::GetCommandLineW(), &count));
    if (!wide)
        return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(win32::ToUtf8(wide.Get()[i]));
    return arguments;
}

} // namespace huegrab::platform
