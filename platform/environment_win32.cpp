// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/environment.h"
#include "platform/win32/wide_text.h"

#include <filesystem>
#include <windows.h>

namespace huegrab::platform {

std::optional<std::string> EnvironmentValue(const char* name) {
    const std::wstring wideName = win32::FromUtf8(name);
    // The size changes only if another thread sets the variable meanwhile.
    for (int attempt = 0; attempt < 3; ++attempt) {
        ::SetLastError(ERROR_SUCCESS);
        const DWORD needed = ::GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
        if (needed == 0)
            return ::GetLastError() == ERROR_ENVVAR_NOT_FOUND ? std::nullopt
                                                              : std::optional<std::string>("");
        std::wstring value(needed, L'\0');
        const DWORD length = ::GetEnvironmentVariableW(wideName.c_str(), value.data(), needed);
        if (length < needed) {
            value.resize(length);
            return win32::ToUtf8(value);
        }
    }
    return std::nullopt;
}

std::optional<std::string> UserSettingsFolder(const GetEnvFunction& getEnv) {
    if (!getEnv)
        return std::nullopt;
    const std::optional<std::string> appData = getEnv("APPDATA");
    if (!appData || appData->empty() ||
        !std::filesystem::path(win32::FromUtf8(*appData)).is_absolute())
        return std::nullopt;
    return *appData + "\\huegrab";
}

} // namespace huegrab::platform
