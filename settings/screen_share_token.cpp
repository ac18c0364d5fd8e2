// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/screen_share_token.h"

#include "platform/environment.h"
#include "platform/utf8_path.h"
#include "settings/settings_file.h"
#include "settings/settings_path.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace huegrab {
namespace {

// Portal tokens are UUIDs; anything far longer was not written by us.
constexpr std::size_t kMaxTokenBytes = 256;

bool IsKeyCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.';
}

// A token goes back to the portal as given: text that could not have come
// from it (control characters, bytes past ASCII, INI syntax) is no token.
bool IsToken(std::string_view text) {
    return !text.empty() && text.size() <= kMaxTokenBytes &&
           std::all_of(text.begin(), text.end(),
                       [](char c) { return c > ' ' && c < 0x7F && c != ';' && c != '='; });
}

} // namespace

std::string ScreenShareKey(std::string_view desktopName) {
    std::string key;
    std::copy_if(desktopName.begin(), desktopName.end(), std::back_inserter(key), IsKeyCharacter);
    return key.empty() ? std::string("Wayland") : key;
}

std::string ReadScreenShareToken(const SettingsStore& settings, std::string_view desktopName) {
    std::string token = settings.ReadSetting(kScreenShareSection, ScreenShareKey(desktopName));
    return IsToken(token) ? token : std::string();
}

bool WriteScreenShareToken(SettingsStore& settings, std::string_view desktopName,
                           std::string_view token) {
    const std::string key = ScreenShareKey(desktopName);
    const std::array<IniKeyValue, 1> values{
        IniKeyValue{key, IsToken(token) ? std::string(token) : std::string()}};
    return settings.WriteSettings(kScreenShareSection, values);
}

ScreenShareTokenFile KeepScreenShareTokenFor(std::string_view programFolder) {
    std::string path = SettingsPath(programFolder);
    std::string earlier = SettingsPathBesideProgram(programFolder);
    if (earlier == path)
        earlier.clear();
    const std::string desktop = platform::EnvironmentValue("XDG_CURRENT_DESKTOP").value_or("");
    const auto file = [path = std::move(path), earlier = std::move(earlier)] {
        return SettingsFile(platform::PathFromUtf8(path), platform::PathFromUtf8(earlier));
    };
    return {[file, desktop] { return ReadScreenShareToken(file(), desktop); },
            [file, desktop](const std::string& token) {
                SettingsFile settings = file();
                WriteScreenShareToken(settings, desktop, token);
            }};
}

} // namespace huegrab
