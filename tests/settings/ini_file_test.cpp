// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ini_file.h"
#include "temp_folder.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace huegrab {
namespace {

namespace fs = std::filesystem;
using test_support::ReadBytes;
using test_support::TempFolder;
using test_support::WriteBytes;

mode_t ModeOf(const fs::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

// Names in the folder other than the lock files, which stay by design.
std::vector<std::string> FilesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (!entry.path().filename().string().starts_with(".config.ini.lock")) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ReadFileBounded, ReadsOrdinaryFilesOnly) {
    TempFolder folder;
    EXPECT_FALSE(ReadFileBounded(folder / "missing.ini").has_value());
    EXPECT_FALSE(ReadFileBounded(folder.Path()).has_value());
    const fs::path fifo = folder / "pipe.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(IsOrdinaryFile(fifo));
    EXPECT_FALSE(ReadFileBounded(fifo).has_value()); // and does not hang
    WriteBytes(folder / "config.ini", "[P0]\r\nX=1\r\n");
    EXPECT_TRUE(IsOrdinaryFile(folder / "config.ini"));
    const auto contents = ReadFileBounded(folder / "config.ini");
    ASSERT_TRUE(contents.has_value());
    EXPECT_EQ(contents->bytes, "[P0]\r\nX=1\r\n");
    EXPECT_TRUE(contents->complete);
}

TEST(ReadFileBounded, StopsAtTheLimitAndSaysSo) {
    TempFolder folder;
    WriteBytes(folder / "big.ini", std::string(1000, 'a'));
    const auto exact = ReadFileBounded(folder / "big.ini", 1000);
    ASSERT_TRUE(exact.has_value());
    EXPECT_TRUE(exact->complete);
    const auto cut = ReadFileBounded(folder / "big.ini", 999);
    ASSERT_TRUE(cut.has_value());
    EXPECT_FALSE(cut->complete);
    EXPECT_EQ(cut->bytes, std::string(999, 'a'));
}

TEST(ReplaceFileAtomically, KeepsPermissionsAndLeavesNoTemporaryBehind) {
    TempFolder folder;
    const fs::path file = folder / "config.ini";
    WriteBytes(file, "old");
    ::chmod(file.c_str(), 0640);
    ASSERT_TRUE(ReplaceFileAtomically(file, "new"));
    EXPECT_EQ(ReadBytes(file), "new");
    EXPECT_EQ(ModeOf(file), 0640u);
    EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::string>{"config.ini"});
}

TEST(ReplaceFileAtomically, FirstFileFollowsTheUmaskAndMissingFoldersAreCreatedPrivate) {
    TempFolder folder;
    const mode_t previous = ::umask(022);
    const fs::path file = folder.Path() / "a" / "huegrab" / "config.ini";
    const bool written = ReplaceFileAtomically(file, "x");
    ::umask(previous);
    ASSERT_TRUE(written);
    EXPECT_EQ(ModeOf(file), 0644u);
    EXPECT_EQ(ModeOf(folder.Path() / "a"), 0700u);
    EXPECT_EQ(ModeOf(folder.Path() / "a" / "huegrab"), 0700u);
}

// A disk that fills up mid-write: the file size limit makes the temporary
// file's write fail part-way, in a child so the limit stays there.
TEST(ReplaceFileAtomically, FailedWriteLeavesTheOldFileWhole) {
    TempFolder folder;
    const fs::path file = folder / "config.ini";
    const std::string old = "[P0]\r\nX=1\r\n";
    WriteBytes(file, old);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const bool written = ReplaceFileAtomically(file, std::string(100000, 'z'));
        ::_exit(written ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the write should have reported failure";
    EXPECT_EQ(ReadBytes(file), old);
    EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::string>{"config.ini"});
}

TEST(ReplaceFileAtomically, RefusesToReplaceAFolder) {
    TempFolder folder;
    fs::create_directory(folder / "config.ini");
    WriteBytes(folder / "config.ini" / "inside", "kept");
    EXPECT_FALSE(ReplaceFileAtomically(folder / "config.ini", "x"));
    EXPECT_EQ(ReadBytes(folder / "config.ini" / "inside"), "kept");
    EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::string>{"config.ini"});
}

TEST(FileLock, SeparateLocksExcludeEachOtherEvenInOneProcess) {
    TempFolder folder;
    const fs::path file = folder / "config.ini";
    std::optional<FileLock> first = FileLock::Acquire(file);
    ASSERT_TRUE(first.has_value());
    EXPECT_FALSE(FileLock::Acquire(file, std::chrono::milliseconds(50)).has_value());
    first.reset();
    EXPECT_TRUE(FileLock::Acquire(file, std::chrono::milliseconds(50)).has_value());
}

TEST(EditFileLocked, WritesOnlyWhenTheBytesChange) {
    TempFolder folder;
    const fs::path file = folder / "config.ini";
    const auto append = [](std::string& bytes) {
        bytes += "x";
        return true;
    };
    EXPECT_EQ(EditFileLocked(file, append), EditOutcome::Written); // creates the file
    EXPECT_EQ(ReadBytes(file), "x");
    struct stat before {};
    ::stat(file.c_str(), &before);
    EXPECT_EQ(EditFileLocked(file, [](std::string&) { return true; }), EditOutcome::Unchanged);
    struct stat after {};
    ::stat(file.c_str(), &after);
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(EditFileLocked(file, [](std::string& b) { return (b += "y", false); }),
              EditOutcome::Failed);
    EXPECT_EQ(ReadBytes(file), "x");
}

TEST(EditFileLocked, WritesThroughASymbolicLink) {
    TempFolder folder;
    fs::create_directory(folder / "real");
    WriteBytes(folder / "real" / "config.ini", "a");
    fs::create_symlink(folder / "real" / "config.ini", folder / "config.ini");
    EXPECT_EQ(
        EditFileLocked(folder / "config.ini", [](std::string& b) { return (b += "b", true); }),
        EditOutcome::Written);
    EXPECT_TRUE(fs::is_symlink(folder / "config.ini"));
    EXPECT_EQ(ReadBytes(folder / "real" / "config.ini"), "ab");
}

} // namespace
} // namespace huegrab
