// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ini_file.h"

#include "platform/utf8_path.h"

#include <cstdio>
#include <system_error>

namespace huegrab {
namespace {

namespace fs = std::filesystem;

// As many links in a row as the system itself follows before it gives up.
constexpr int kMaxLinkHops = 40;

void Report(const fs::path& path, const platform::Status& status) {
    ReportSettingsFileProblem(path, status.failedStep, status.reason);
}

fs::path FolderOf(const fs::path& path) {
    const fs::path folder = path.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

// A hidden file beside `path`: ".config.ini<suffix>".
fs::path Beside(const fs::path& path, const std::string& suffix) {
    fs::path name(".");
    name += path.filename();
    name += suffix;
    return FolderOf(path) / name;
}

// The one temporary file of `path`. Writers hold the lock while they use it,
// so one name is enough, and a writer killed mid-save leaves at most this
// file, which the next save replaces.
fs::path TempPathFor(const fs::path& path) {
    return Beside(path, ".tmp");
}

// Follows symbolic links at `path`, also dangling ones: a save writes the
// file a link names, creating it when missing, so that the link stays.
// nullopt, with the reason, for a loop.
std::optional<fs::path> WriteTarget(const fs::path& path, std::string& whyNot) {
    fs::path current = path;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(current, error))) {
            return current; // a file, a folder or nothing: later steps decide
        }
        const fs::path next = fs::read_symlink(current, error);
        if (error) {
            whyNot = error.message();
            return std::nullopt;
        }
        current = next.is_absolute() ? next : FolderOf(current) / next;
    }
    whyNot = std::make_error_code(std::errc::too_many_symbolic_link_levels).message();
    return std::nullopt;
}

// Replaces the file; the caller holds its FileLock.
bool ReplaceLocked(const fs::path& path, std::string_view bytes) {
    if (const platform::Status folder = platform::EnsureFolder(FolderOf(path)); !folder.Ok()) {
        Report(path, folder);
        return false;
    }
    const platform::Status replaced = platform::ReplaceFile(path, TempPathFor(path), bytes);
    if (!replaced.Ok()) {
        Report(path, replaced);
    }
    return replaced.Ok();
}

// Why a save cannot replace what is at the path; nullopt when it may.
std::optional<std::string> WhyNotReplaceable(const platform::PathInfo& info) {
    switch (info.kind) {
    case platform::PathKind::Missing:
    case platform::PathKind::File:
        return std::nullopt;
    case platform::PathKind::Folder:
        return "it is a folder, not a file";
    case platform::PathKind::Special:
        return "it is a pipe, socket or device, not a file";
    case platform::PathKind::Inaccessible:
        return info.reason;
    }
    return "unknown kind of file";
}

} // namespace

void ReportSettingsFileProblem(const std::filesystem::path& path, const std::string& what,
                               const std::string& reason) {
    std::fprintf(stderr, "huegrab: settings file %s: %s: %s\n",
                 platform::Utf8FromPath(path).c_str(), what.c_str(), reason.c_str());
}

bool IsOrdinaryFile(const fs::path& path) {
    return platform::Examine(path).kind == platform::PathKind::File;
}

std::optional<FileContents> ReadFileBounded(const fs::path& path, std::size_t maxBytes) {
    return platform::ReadFileBounded(path, maxBytes);
}

bool ReplaceFileAtomically(const fs::path& path, std::string_view bytes) {
    if (const platform::Status folder = platform::EnsureFolder(FolderOf(path)); !folder.Ok()) {
        Report(path, folder);
        return false;
    }
    const std::optional<FileLock> lock = FileLock::Acquire(path);
    return lock && ReplaceLocked(path, bytes);
}

std::optional<FileLock> FileLock::Acquire(const fs::path& path, std::chrono::milliseconds wait) {
    platform::Status failure;
    std::optional<platform::WriterLock> lock =
        platform::WriterLock::Acquire(Beside(path, ".lock"), wait, failure);
    if (!lock) {
        Report(path, failure);
        return std::nullopt;
    }
    return FileLock(std::move(*lock));
}

EditOutcome EditFileLocked(const fs::path& path,
                           const std::function<bool(std::string& bytes)>& edit) {
    std::string whyNot;
    const std::optional<fs::path> resolved = WriteTarget(path, whyNot);
    if (!resolved) {
        ReportSettingsFileProblem(path, "cannot follow its link", whyNot);
        return EditOutcome::Failed;
    }
    const fs::path& target = *resolved;
    if (const platform::Status folder = platform::EnsureFolder(FolderOf(target)); !folder.Ok()) {
        Report(target, folder);
        return EditOutcome::Failed;
    }
    const std::optional<FileLock> lock = FileLock::Acquire(target);
    if (!lock) {
        return EditOutcome::Failed;
    }
    const platform::PathInfo info = platform::Examine(target);
    if (const std::optional<std::string> reason = WhyNotReplaceable(info)) {
        ReportSettingsFileProblem(target, "cannot be written", *reason);
        return EditOutcome::Failed;
    }
    std::string bytes;
    const bool existed = info.kind == platform::PathKind::File;
    if (existed) {
        // Renaming over a file needs only the folder's permission: ask first,
        // so a file the user may not write is never replaced.
        if (const platform::Status writable = platform::CheckMayWrite(target); !writable.Ok()) {
            Report(target, writable);
            return EditOutcome::Failed;
        }
        std::optional<FileContents> contents =
            platform::ReadFileBounded(target, kMaxIniFileBytes, &whyNot);
        if (!contents) {
            ReportSettingsFileProblem(target, "cannot be read", whyNot);
            return EditOutcome::Failed;
        }
        if (!contents->complete) {
            ReportSettingsFileProblem(target, "is too large to rewrite safely",
                                      std::make_error_code(std::errc::file_too_large).message());
            return EditOutcome::Failed;
        }
        bytes = std::move(contents->bytes);
    }
    const std::string before = bytes;
    if (!edit(bytes)) {
        return EditOutcome::Failed;
    }
    if (existed && bytes == before) {
        return EditOutcome::Unchanged;
    }
    // Readers stop at the limit: a file grown past it would lose its tail
    // to them, and no later write could rewrite it.
    if (bytes.size() > kMaxIniFileBytes) {
        ReportSettingsFileProblem(target, "cannot be written",
                                  "it would grow past " + std::to_string(kMaxIniFileBytes) +
                                      " bytes");
        return EditOutcome::Failed;
    }
    return ReplaceLocked(target, bytes) ? EditOutcome::Written : EditOutcome::Failed;
}

} // namespace huegrab
