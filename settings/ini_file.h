// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/files.h"

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace huegrab {

// Reads never take more than this from a settings file, so a huge or binary
// file cannot stall the program; writers refuse to replace a larger file
// rather than cut its tail off.
inline constexpr std::size_t kMaxIniFileBytes = 4 * 1024 * 1024;

// How long a writer waits for another writer's lock before it gives up.
inline constexpr std::chrono::milliseconds kFileLockWait{3000};

// Says on stderr, for a person at a terminal, why a settings file could not
// be read or written: "huegrab: settings file PATH: WHAT: REASON".
void ReportSettingsFileProblem(const std::filesystem::path& path, const std::string& what,
                               const std::string& reason);

// True for an ordinary file (after following symbolic links); false for a
// missing path, a folder, a device or a pipe.
bool IsOrdinaryFile(const std::filesystem::path& path);

using platform::FileContents;

// Opens, reads at most maxBytes and closes. nullopt when the path is not an
// ordinary file or cannot be read. Never blocks on a pipe or a device.
std::optional<FileContents> ReadFileBounded(const std::filesystem::path& path,
                                            std::size_t maxBytes = kMaxIniFileBytes);

// Takes the FileLock of `path`, writes `bytes` to the hidden file
// ".<name>.tmp" in the same folder (replacing one a killed writer left),
// flushes it to the disk and renames it over `path`, so that anyone reading
// `path` sees either the old file or the new one, whole, even across a
// crash or a full disk. The new file keeps the old one's permission bits
// (and, where allowed, its owner); a first file gets 0666 less the umask.
// Missing folders are created with 0700. On failure `path` is untouched, no
// temporary file is left behind, the reason goes to stderr and the result
// is false.
bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// The writers' exclusive lock on the hidden file ".<name>.lock" beside
// `path`, held until the object is destroyed. Separate objects exclude each
// other even within one process.
class FileLock {
public:
    // nullopt, with the reason on stderr, when the lock file cannot be opened
    // or the lock is not granted within `wait`.
    static std::optional<FileLock> Acquire(const std::filesystem::path& path,
                                           std::chrono::milliseconds wait = kFileLockWait);

private:
    explicit FileLock(platform::WriterLock lock) : lock_(std::move(lock)) {}
    platform::WriterLock lock_;
};

enum class EditOutcome {
    Written,   // the file was replaced with the edited bytes
    Unchanged, // the edit left the bytes as they were; nothing was written
    Failed,    // nothing was written; the reason went to stderr
};

// The read-modify-write of every writer: holding the FileLock of `path`, reads
// the current file (no bytes when it is missing), lets `edit` change the bytes
// and replaces the file atomically when they changed.
// A symbolic link at `path` is written through to the file it names, live or
// dangling (that file is then created), so the link itself always stays; a
// loop of links fails. Fails without writing, the reason on stderr, when the
// lock is not granted, when the file exists but this user may not write it
// (even where the folder would allow replacing it), when it is a folder, a
// pipe or a device, when it cannot be read, when it is or would become larger
// than kMaxIniFileBytes, or when `edit` returns false.
EditOutcome EditFileLocked(const std::filesystem::path& path,
                           const std::function<bool(std::string& bytes)>& edit);

} // namespace huegrab
