// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/environment.h"

#include <cstdlib>

namespace huegrab::platform {

std::optional<std::string> EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

std::optional<std::string> UserSettingsFolder(const GetEnvFunction& getEnv) {
    const auto absolute = [&](const char* name) -> std::optional<std::string> {
        std::optional<std::string> value = getEnv ? getEnv(name) : std::nullopt;
        if (!value || value->empty() || value->front() != '/') {
            return std::nullopt; // relative or empty values are ignored, as the XDG rules say
        }
        return value;
    };
    if (const auto configHome = absolute("XDG_CONFIG_HOME")) {
        return *configHome + "/huegrab";
    }
    if (const auto home = absolute("HOME")) {
        return *home + "/.config/huegrab";
    }
    return std::nullopt;
}

} // namespace huegrab::platform
