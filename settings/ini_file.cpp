#include "settings/ini_file.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

namespace huegrab {
namespace {

namespace fs = std::filesystem;
namespace platform = settings_platform;

void Report(const fs::path& path, const std::string& what, const std::string& reason) {
    std::fprintf(stderr, "huegrab: settings file %s: %s: %s\n", path.string().c_str(), what.c_str(),
                 reason.c_str());
}

void Report(const fs::path& path, const platform::Status& status) {
    Report(path, status.failedStep, status.reason);
}

fs::path FolderOf(const fs::path& path) {
    const fs::path folder = path.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

// A hidden file beside `path`: ".config.ini<suffix>".
fs::path Beside(const fs::path& path, const std::string& suffix) {
    return FolderOf(path) / ("." + path.filename().string() + suffix);
}

// A name no other writer uses at the same time.
fs::path TempPathFor(const fs::path& path) {
    static const unsigned run = std::random_device{}();
    static std::atomic<unsigned> counter{0};
    return Beside(path, ".tmp-" + std::to_string(run) + "-" + std::to_string(counter.fetch_add(1)));
}

// A symbolic link is written through to the file it names.
fs::path WriteTarget(const fs::path& path) {
    std::error_code error;
    if (fs::is_symlink(path, error)) {
        const fs::path target = fs::canonical(path, error);
        if (!error) {
            return target;
        }
    }
    return path;
}

} // namespace

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
    const platform::Status replaced = platform::ReplaceFile(path, TempPathFor(path), bytes);
    if (!replaced.Ok()) {
        Report(path, replaced);
    }
    return replaced.Ok();
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
    const fs::path target = WriteTarget(path);
    if (const platform::Status folder = platform::EnsureFolder(FolderOf(target)); !folder.Ok()) {
        Report(target, folder);
        return EditOutcome::Failed;
    }
    const std::optional<FileLock> lock = FileLock::Acquire(target);
    if (!lock) {
        return EditOutcome::Failed;
    }
    std::string bytes;
    bool existed = false;
    if (platform::Examine(target).kind != platform::PathKind::Missing) {
        std::optional<FileContents> contents = ReadFileBounded(target);
        if (!contents) {
            Report(target, "exists but cannot be read as a file", std::strerror(errno));
            return EditOutcome::Failed;
        }
        if (!contents->complete) {
            Report(target, "is too large to rewrite safely", std::strerror(EFBIG));
            return EditOutcome::Failed;
        }
        bytes = std::move(contents->bytes);
        existed = true;
    }
    const std::string before = bytes;
    if (!edit(bytes)) {
        return EditOutcome::Failed;
    }
    if (existed && bytes == before) {
        return EditOutcome::Unchanged;
    }
    return ReplaceFileAtomically(target, bytes) ? EditOutcome::Written : EditOutcome::Failed;
}

} // namespace huegrab
