// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The environment the settings path is chosen from. CMake builds one
// implementation: environment_posix.cpp or environment_win32.cpp.

#include <functional>
#include <optional>
#include <string>

namespace huegrab::platform {

// An environment variable; nullopt when it is not set.
using GetEnvFunction = std::function<std::optional<std::string>(const char* name)>;

// The value of an environment variable as UTF-8; nullopt when it is not set.
// [POSIX: getenv, the bytes as they stand. Win32: GetEnvironmentVariableW, so
// a profile folder named outside the ANSI code page reads right.]
std::optional<std::string> EnvironmentValue(const char* name);

// The user's own folder for huegrab's settings, used when the program's
// folder is read-only; nullopt when the environment names none. Variables
// that are empty or not absolute paths are ignored.
// [POSIX: $XDG_CONFIG_HOME/huegrab, else $HOME/.config/huegrab.
// Win32: %APPDATA%\huegrab.]
std::optional<std::string> UserSettingsFolder(const GetEnvFunction& getEnv);

} // namespace huegrab::platform
