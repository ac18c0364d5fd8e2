// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/settings_store.h"

#include <filesystem>
#include <optional>
#include <string>

namespace huegrab {

// The settings file at one path, with the INI rules of IniDocument. Readers
// open, read (at most kMaxIniFileBytes) and close the file on every call and
// take no lock: writers only ever replace the file whole, so a reader sees
// the file before or after a write, never half of one. Writers hold the
// file's FileLock across their read-modify-write, so two running copies never
// drop each other's sections, and replace the file atomically, so a crash or
// a full disk never leaves a cut-off file. A file saved as UTF-16 (with its
// byte-order mark) is read, and written back, in UTF-16.
//
// `earlier` names where the file was kept before (config.ini beside the
// program, when that folder has become read-only): while no file is at
// `path`, reads come from there, and the first write starts the new file as
// a copy of it, so no slot kept there goes missing. The earlier file itself
// is never written.
class SettingsFile final : public SettingsStore {
public:
    explicit SettingsFile(std::filesystem::path path, std::filesystem::path earlier = {})
        : path_(std::move(path)), earlier_(std::move(earlier)) {}

    const std::filesystem::path& Path() const { return path_; }

    bool Exists() const override;
    std::string ReadSetting(std::string_view section, std::string_view key) const override;
    bool WriteSettings(std::string_view section, std::span<const IniKeyValue> values) override;

    // Why saves will fail, known before one is tried: the file is there and
    // this user may not change it (mode 0444, another owner), something
    // other than a file is in its place, or a missing file's folder is
    // read-only. nullopt when saves may go ahead.
    std::optional<std::string> WhyNotWritable() const;

    // One key: WriteSettings with a single entry.
    bool WriteSetting(std::string_view section, std::string_view key, std::string_view value);

private:
    // The file reads go to: the earlier one while none is at the path.
    const std::filesystem::path& ReadPath() const;
    // The earlier file's bytes for a new file; none when there is no earlier
    // file or it cannot be read whole.
    std::string EarlierBytes() const;

    std::filesystem::path path_;
    std::filesystem::path earlier_;
};

} // namespace huegrab
