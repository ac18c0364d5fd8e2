// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/ini_document.h"

#include <span>
#include <string>
#include <string_view>

namespace huegrab {

// The settings file as the colour slots see it. Every call goes to the file
// itself: nothing is cached, so an edit made by hand between two calls is
// seen by the second.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // Whether the file exists as an ordinary file.
    virtual bool Exists() const = 0;

    // The value of the key (IniDocument::Read): at most 2047 bytes, the empty
    // text when the file, the section or the key is missing or unreadable.
    virtual std::string ReadSetting(std::string_view section, std::string_view key) const = 0;

    // Writes the keys of one section in the given order, leaving the file as
    // that many single-key writes would, but as one replacement of the file.
    // Creates the file and the section as needed. False when nothing could be
    // written; the program goes on either way.
    virtual bool WriteSettings(std::string_view section, std::span<const IniKeyValue> values) = 0;
};

} // namespace huegrab
