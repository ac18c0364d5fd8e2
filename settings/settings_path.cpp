#include "settings/settings_path.h"

#include "platform/environment.h"
#include "platform/files.h"

namespace huegrab {
namespace {

constexpr std::string_view kFileName = "config.ini";

} // namespace

SettingsPathEnvironment SystemSettingsPathEnvironment() {
    return {
        platform::EnvironmentValue,
        platform::IsWritableFolder,
    };
}

bool IsPortableBuild() {
#ifdef HUEGRAB_PORTABLE
    return true;
#else
    return false;
#endif
}

std::string SettingsPath(std::string_view applicationFolder, const SettingsPathEnvironment& env,
                         bool portable) {
    const std::string besideProgram = SettingsPathBesideProgram(applicationFolder);
    const std::string folder(applicationFolder);
    if (portable || (env.isWritableFolder && env.isWritableFolder(folder))) {
        return besideProgram;
    }
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
