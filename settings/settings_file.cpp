#include "settings/settings_file.h"

#include "settings/ini_file.h"

namespace huegrab {

bool SettingsFile::Exists() const {
    return IsOrdinaryFile(path_);
}

std::string SettingsFile::ReadSetting(std::string_view section, std::string_view key) const {
    std::optional<FileContents> contents = ReadFileBounded(path_);
    if (!contents) {
        return {};
    }
    return IniDocument(std::move(contents->bytes)).Read(section, key);
}

bool SettingsFile::WriteSettings(std::string_view section, std::span<const IniKeyValue> values) {
    const EditOutcome outcome = EditFileLocked(path_, [&](std::string& bytes) {
        IniDocument document(std::move(bytes));
        for (const IniKeyValue& entry : values) {
            if (!document.Write(section, entry.key, entry.value)) {
                return false;
            }
        }
        bytes = document.Bytes();
        return true;
    });
    return outcome != EditOutcome::Failed;
}

bool SettingsFile::WriteSetting(std::string_view section, std::string_view key,
                                std::string_view value) {
    const IniKeyValue entry{std::string(key), std::string(value)};
    return WriteSettings(section, std::span<const IniKeyValue>(&entry, 1));
}

} // namespace huegrab
