// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace huegrab {

// What choosing the settings path looks at, replaceable in tests.
struct SettingsPathEnvironment {
    // An environment variable; nullopt when it is not set.
    std::function<std::optional<std::string>(const char* name)> getEnv;
    // Whether files can be created in the folder.
    std::function<bool(const std::string& folder)> isWritableFolder;
    // Whether a file exists at the path.
    std::function<bool(const std::string& path)> isFile;
};

// The real environment, read as UTF-8, and the system's own test for a writable
// folder.
SettingsPathEnvironment SystemSettingsPathEnvironment();

// Whether this build keeps config.ini beside the executable even when that
// folder is read-only (CMake option HUEGRAB_PORTABLE).
bool IsPortableBuild();

// The file an installation puts beside the program, relative to the program's
// folder: the launcher entry, "../share/applications/<app id>.desktop" for
// the usual bin and share folders. Its presence tells an installed program
// from a copy run from its own folder (the build tree, an unpacked archive).
std::string_view InstallationMark();

// Where config.ini lives, as UTF-8: the application folder, "/" and "config.ini". The
// separator is always added, so a folder given as "/opt/huegrab/" gives
// "/opt/huegrab//config.ini", which the file functions accept.
// Unless the build is portable, the file moves to the user's own settings
// folder when the program is installed (InstallationMark found, even in a
// writable prefix such as ~/.local) or its folder is not writable
// (platform::UserSettingsFolder: on POSIX $XDG_CONFIG_HOME/huegrab,
// or $HOME/.config/huegrab when XDG_CONFIG_HOME is unset, empty or
// relative); writers create that folder; a config.ini left beside the
// program carries over into it (SettingsFile's earlier file). Without such a
// folder the path stays in the application folder (reads find nothing,
// writes fail).
std::string SettingsPath(std::string_view applicationFolder, const SettingsPathEnvironment& env,
                         bool portable);

// config.ini beside the program: the application folder, "/" and
// "config.ini", whether or not SettingsPath chose it.
std::string SettingsPathBesideProgram(std::string_view applicationFolder);

// SettingsPath with the system environment and this build's portability.
std::string SettingsPath(std::string_view applicationFolder);

} // namespace huegrab
