#include "settings/settings_file.h"

#include "settings/ini_encoding.h"
#include "settings/ini_file.h"
#include "text/unicode.h"

namespace huegrab {

const std::filesystem::path& SettingsFile::ReadPath() const {
    return !earlier_.empty() && !IsOrdinaryFile(path_) ? earlier_ : path_;
}

std::string SettingsFile::EarlierBytes() const {
    if (earlier_.empty() || !IsOrdinaryFile(earlier_)) {
        return {};
    }
    std::optional<FileContents> contents = ReadFileBounded(earlier_);
    if (!contents || !contents->complete) {
        ReportSettingsFileProblem(earlier_, "is not carried over", "it cannot be read whole");
        return {};
    }
    return std::move(contents->bytes);
}

bool SettingsFile::Exists() const {
    return IsOrdinaryFile(ReadPath());
}

std::string SettingsFile::ReadSetting(std::string_view section, std::string_view key) const {
    std::optional<FileContents> contents = ReadFileBounded(ReadPath());
    if (!contents) {
        return {};
    }
    std::optional<IniText> decoded = DecodeIniText(std::move(contents->bytes), contents->complete);
    if (!decoded) {
        return {};
    }
    const IniEncoding encoding = decoded->encoding;
    std::string value = IniDocument(std::move(decoded->text)).Read(section, key);
    // A UTF-16 file holds whole characters: a value cut at the byte limit
    // must not end in half of one, or it could not be saved back.
    if (encoding != IniEncoding::Bytes)
        value.resize(LengthWithoutSplitUtf8Tail(value));
    return value;
}

bool SettingsFile::WriteSettings(std::string_view section, std::span<const IniKeyValue> values) {
    const EditOutcome outcome = EditFileLocked(path_, [&](std::string& bytes) {
        if (bytes.empty() && !IsOrdinaryFile(path_)) {
            bytes = EarlierBytes(); // a new file starts from the earlier one
        }
        std::optional<IniText> decoded = DecodeIniText(std::move(bytes));
        if (!decoded) {
            ReportSettingsFileProblem(path_, "cannot be written",
                                      "its UTF-16 text does not decode");
            return false;
        }
        IniDocument document(std::move(decoded->text));
        for (const IniKeyValue& entry : values) {
            if (!document.Write(section, entry.key, entry.value)) {
                return false;
            }
        }
        decoded->text = document.Bytes();
        std::optional<std::string> encoded = EncodeIniText(std::move(*decoded));
        if (!encoded) {
            ReportSettingsFileProblem(path_, "cannot be written", "a value is not UTF-8 text");
            return false;
        }
        bytes = std::move(*encoded);
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
