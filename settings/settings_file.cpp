// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_file.h"

#include "platform/files.h"
#include "platform/utf8_path.h"
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

std::optional<std::string> SettingsFile::WhyNotWritable() const {
    const platform::PathInfo info = platform::Examine(path_);
    switch (info.kind) {
    case platform::PathKind::File:
        if (const platform::Status may = platform::CheckMayWrite(path_); !may.Ok())
            return may.reason;
        return std::nullopt;
    case platform::PathKind::Missing: {
        // Writers create a missing folder; an existing one must take files.
        const std::filesystem::path folder = path_.parent_path();
        if (platform::Examine(folder).kind == platform::PathKind::Folder &&
            !platform::IsWritableFolder(platform::Utf8FromPath(folder)))
            return "its folder is read-only";
        return std::nullopt;
    }
    case platform::PathKind::Folder:
        return "it is a folder, not a file";
    case platform::PathKind::Special:
        return "it is a pipe, socket or device, not a file";
    case platform::PathKind::Inaccessible:
        return info.reason;
    }
    return std::nullopt;
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
