// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/settings_store.h"

#include <functional>
#include <string>
#include <string_view>

namespace huegrab {

// The section of config.ini that keeps, per desktop, the token a Wayland
// desktop gave for its screen share, so that its share dialog shows once
// per desktop, not once per start: one key per desktop name
// (XDG_CURRENT_DESKTOP), e.g. "GNOME=5d1c…".
inline constexpr char kScreenShareSection[] = "ScreenShare";

// The key for a desktop name: its letters, digits, '-', '_' and '.' (a
// name such as "ubuntu:GNOME" keeps "ubuntuGNOME"); "Wayland" when nothing
// is left.
std::string ScreenShareKey(std::string_view desktopName);

// The stored token for the desktop; empty when there is none, or when what
// is stored is no token (not printable ASCII, or longer than 256 bytes).
std::string ReadScreenShareToken(const SettingsStore& settings, std::string_view desktopName);
// Stores the desktop's newest token; an empty one removes nothing but
// stores the empty text. False when the file could not be written.
bool WriteScreenShareToken(SettingsStore& settings, std::string_view desktopName,
                           std::string_view token);

// The token of the desktop named by XDG_CURRENT_DESKTOP, kept in the
// config.ini of the program in `programFolder` (SettingsPath, with the file
// beside the program as the earlier one), as a pair of calls for the
// desktop to make when it needs them.
struct ScreenShareTokenFile {
    std::function<std::string()> load;
    std::function<void(const std::string& token)> store;
};
ScreenShareTokenFile KeepScreenShareTokenFor(std::string_view programFolder);

} // namespace huegrab
