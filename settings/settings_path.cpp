#include "settings/settings_path.h"

#include <cstdlib>
#include <unistd.h>

namespace huegrab {
namespace {

constexpr std::string_view kFileName = "config.ini";

std::optional<std::string> AbsoluteEnv(const SettingsPathEnvironment& env, const char* name) {
    std::optional<std::string> value = env.getEnv ? env.getEnv(name) : std::nullopt;
    if (!value || value->empty() || value->front() != '/') {
        return std::nullopt; // relative or empty values are ignored, as the XDG rules say
    }
    return value;
}

} // namespace

SettingsPathEnvironment SystemSettingsPathEnvironment() {
    return {
        [](const char* name) -> std::optional<std::string> {
            const char* value = std::getenv(name);
            return value ? std::optional<std::string>(value) : std::nullopt;
        },
        [](const std::string& folder) { return ::access(folder.c_str(), W_OK | X_OK) == 0; },
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
    std::string besideProgram(applicationFolder);
    besideProgram.append("/").append(kFileName);
    const std::string folder(applicationFolder);
    if (portable || (env.isWritableFolder && env.isWritableFolder(folder))) {
        return besideProgram;
    }
    if (const auto configHome = AbsoluteEnv(env, "XDG_CONFIG_HOME")) {
        return *configHome + "/huegrab/" + std::string(kFileName);
    }
    if (const auto home = AbsoluteEnv(env, "HOME")) {
        return *home + "/.config/huegrab/" + std::string(kFileName);
    }
    return besideProgram;
}

std::string SettingsPath(std::string_view applicationFolder) {
    return SettingsPath(applicationFolder, SystemSettingsPathEnvironment(), IsPortableBuild());
}

} // namespace huegrab
