// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_path.h"

#include "platform/environment.h"
#include "platform/files.h"
#include "platform/utf8_path.h"

#include <filesystem>
#include <system_error>

namespace huegrab {
namespace {

constexpr std::string_view kFileName = "config.ini";

} // namespace

SettingsPathEnvironment SystemSettingsPathEnvironment() {
    return {
        platform::EnvironmentValue,
        platform::IsWritableFolder,
        [](const std::string& path) {
            std::error_code error;
            return std::filesystem::is_regular_file(platform::PathFromUtf8(path), error);
        },
    };
}

bool IsPortableBuild() {
#ifdef HUEGRAB_PORTABLE
    return true;
#else
    return false;
#endif
}

std::string_view InstallationMark() {
    return HUEGRAB_INSTALLATION_MARK;
}

std::string SettingsPath(std::string_view applicationFolder, const SettingsPathEnvironment& env,
                         bool portable) {
    const std::string besideProgram = SettingsPathBesideProgram(applicationFolder);
    const std::string folder(applicationFolder);
    if (portable)
        return besideProgram;
    // An installed program keeps the user's settings out of its bin folder
    // even where it may write there (a prefix such as ~/.local).
    const bool installed = env.isFile && env.isFile(folder + "/" + std::string(InstallationMark()));
    if (!installed && env.isWritableFolder && env.isWritableFolder(folder))
        return besideProgram;
    if (const auto userFolder = platform::UserSettingsFolder(env.getEnv)) {
        return *userFolder + "/" + std::string(kFileName);
    }
    return besideProgram;
}

std::string SettingsPathBesideProgram(std::string_view applicationFolder) {
    std::string path(applicationFolder);
    return path.append("/").append(kFileName);
}

std::string SettingsPath(std::string_view applicationFolder) {
    return SettingsPath(applicationFolder, SystemSettingsPathEnvironment(), IsPortableBuild());
}

} // namespace huegrab
