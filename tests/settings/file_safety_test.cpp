// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file against what users and crashes do to it: write
// protection, symbolic links, things that are not files, killed writers and
// writers that keep the lock busy.

#include "settings/ini_file.h"
#include "settings/settings_file.h"
#include "settings/settings_path.h"
#include "temp_folder.h"

#include <atomic>
#include <csignal>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace huegrab {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test_support::ReadBytes;
using test_support::TempFolder;
using test_support::WriteBytes;

constexpr char kSlotKeys[][2] = {"X", "Y", "C", "R", "G", "B", "H", "S", "L"};

struct Identity {
    uid_t uid;
    gid_t gid;
};

// The unprivileged account the write-protection cases run as.
std::optional<Identity> Nobody() {
    const passwd* entry = ::getpwnam("nobody");
    if (entry == nullptr) {
        return std::nullopt;
    }
    return Identity{entry->pw_uid, entry->pw_gid};
}

struct ChildResult {
    int exitCode = -1;
    std::string errors; // what the child wrote to stderr
};

// Runs `body` in a child process, as `user` when one is given, and collects
// its stderr. The exit code is body's result (99: could not change user).
ChildResult RunInChild(std::optional<Identity> user, const std::function<int()>& body) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        return {};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        ::dup2(pipeFds[1], STDERR_FILENO);
        if (user && (::setgroups(0, nullptr) != 0 || ::setgid(user->gid) != 0 ||
                     ::setuid(user->uid) != 0)) {
            ::_exit(99);
        }
        ::_exit(body());
    }
    ::close(pipeFds[1]);
    ChildResult result;
    char buffer[512];
    for (ssize_t got = 0; (got = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
        result.errors.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(pipeFds[0]);
    int status = 0;
    if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
    }
    return result;
}

struct stat StatOf(const fs::path& path) {
    struct stat info {};
    ::lstat(path.c_str(), &info);
    return info;
}

// ---------------------------------------------------------------------------

struct ProtectionCase {
    const char* name;
    bool fileOwnedByWriter; // otherwise root owns it
    mode_t mode;
    bool writerIsNobody; // otherwise root writes
    bool written;
};

// A save never changes a file the writing user may not write, although the
// folder would let it replace the file; the reason goes to stderr.
TEST(SettingsWriteProtection, AFileTheUserMayNotWriteStaysAsItIs) {
    const std::optional<Identity> nobody = Nobody();
    if (::geteuid() != 0 || !nobody) {
        GTEST_SKIP() << "needs root and a 'nobody' account to act as two users";
    }
    const ProtectionCase cases[] = {
        {"own read-only file", true, 0444, true, false},
        {"root's file in a folder everyone may write", false, 0644, true, false},
        {"own writable file", true, 0644, true, true},
        {"root's read-only file, saved by root, who may write it", false, 0444, false, true},
    };
    const std::string old = "[P0]\r\nX=1\r\n";
    for (const ProtectionCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        ::chmod(folder.Path().c_str(), 0777);
        const fs::path file = folder / "config.ini";
        WriteBytes(file, old);
        if (c.fileOwnedByWriter && c.writerIsNobody) {
            ASSERT_EQ(::chown(file.c_str(), nobody->uid, nobody->gid), 0);
        }
        ::chmod(file.c_str(), c.mode);
        const struct stat before = StatOf(file);

        // Bit 0: the save failed; bit 1: WhyNotWritable said so beforehand.
        const ChildResult child = RunInChild(c.writerIsNobody ? nobody : std::nullopt, [&] {
            const bool foreseen = SettingsFile(file).WhyNotWritable().has_value();
            return (SettingsFile(file).WriteSetting("P0", "X", "2") ? 0 : 1) | (foreseen ? 2 : 0);
        });

        const struct stat after = StatOf(file);
        EXPECT_EQ(child.exitCode, c.written ? 0 : 3) << child.errors;
        EXPECT_EQ(after.st_mode & 07777, c.mode);
        EXPECT_EQ(after.st_uid, before.st_uid);
        if (c.written) {
            EXPECT_EQ(ReadBytes(file), "[P0]\r\nX=2\r\n");
        } else {
            EXPECT_EQ(ReadBytes(file), old);
            EXPECT_EQ(after.st_ino, before.st_ino);
            EXPECT_NE(child.errors.find("Permission denied"), std::string::npos) << child.errors;
        }
    }
}

// ---------------------------------------------------------------------------

struct LinkCase {
    const char* name;
    // Makes config.ini a link; returns the file the save must write.
    std::function<fs::path(const TempFolder&)> make;
    const char* error; // nullptr: the save succeeds
};

// A link is written through to the file it names, created when missing, so
// dotfile setups keep their link; a loop cannot be written and says why.
TEST(SettingsSymbolicLinks, SavesWriteThroughEveryLinkAndRefuseLoops) {
    const LinkCase cases[] = {
        {"live link",
         [](const TempFolder& f) {
             fs::create_directory(f / "real");
             WriteBytes(f / "real" / "config.ini", "; mine\r\n");
             fs::create_symlink(f / "real" / "config.ini", f / "config.ini");
             return f / "real" / "config.ini";
         },
         nullptr},
        {"dangling absolute link",
         [](const TempFolder& f) {
             fs::create_directory(f / "real");
             fs::create_symlink(f / "real" / "config.ini", f / "config.ini");
             return f / "real" / "config.ini";
         },
         nullptr},
        {"dangling relative link through another link",
         [](const TempFolder& f) {
             fs::create_directory(f / "dots");
             fs::create_symlink("dots/huegrab.ini", f / "config.ini");
             fs::create_symlink("settings.ini", f / "dots" / "huegrab.ini");
             return f / "dots" / "settings.ini";
         },
         nullptr},
        {"link to itself",
         [](const TempFolder& f) {
             fs::create_symlink("config.ini", f / "config.ini");
             return fs::path();
         },
         "Too many levels of symbolic links"},
        {"two links naming each other",
         [](const TempFolder& f) {
             fs::create_symlink(f / "other.ini", f / "config.ini");
             fs::create_symlink(f / "config.ini", f / "other.ini");
             return fs::path();
         },
         "Too many levels of symbolic links"},
    };
    for (const LinkCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const fs::path target = c.make(folder);
        const fs::path linkTarget = fs::read_symlink(folder / "config.ini");
        testing::internal::CaptureStderr();
        const bool saved = SettingsFile(folder / "config.ini").WriteSetting("P0", "X", "2");
        const std::string errors = testing::internal::GetCapturedStderr();

        std::error_code notALink;
        EXPECT_EQ(fs::read_symlink(folder / "config.ini", notALink), linkTarget)
            << "the link was replaced";
        if (c.error == nullptr) {
            EXPECT_TRUE(saved) << errors;
            EXPECT_TRUE(ReadBytes(target).ends_with("[P0]\r\nX=2\r\n")) << ReadBytes(target);
            EXPECT_EQ(SettingsFile(folder / "config.ini").ReadSetting("P0", "X"), "2");
        } else {
            EXPECT_FALSE(saved);
            EXPECT_NE(errors.find(c.error), std::string::npos) << errors;
        }
    }
}

// ---------------------------------------------------------------------------

struct ReasonCase {
    const char* name;
    std::function<void(const TempFolder&)> make;
    bool asNobody;
    const char* says;
};

// A failed save names its real cause, and nothing at the path ever blocks it.
TEST(SettingsFailureReasons, EachFailedSaveNamesItsRealCause) {
    const std::optional<Identity> nobody = Nobody();
    const ReasonCase cases[] = {
        {"config.ini is a folder",
         [](const TempFolder& f) { fs::create_directory(f / "config.ini"); }, false, "is a folder"},
        {"config.ini is a named pipe",
         [](const TempFolder& f) { ::mkfifo((f / "config.ini").c_str(), 0666); }, false,
         "is a pipe, socket or device"},
        {"read-only program folder and no home folder",
         [](const TempFolder& f) { ::chmod(f.Path().c_str(), 0555); }, true, "Permission denied"},
    };
    for (const ReasonCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.asNobody && (::geteuid() != 0 || !nobody)) {
            continue; // only root can act as a user without rights
        }
        TempFolder folder;
        c.make(folder);
        const ChildResult child = RunInChild(c.asNobody ? nobody : std::nullopt, [&] {
            SettingsPathEnvironment noHome = SystemSettingsPathEnvironment();
            noHome.getEnv = [](const char*) {
                return std::optional<std::string>();
            };
            SettingsFile file(SettingsPath(folder.Path().string(), noHome, false));
            ::alarm(5); // a save that blocks on the pipe ends the child instead
            return file.WriteSetting("P0", "X", "1") ? 0 : 1;
        });
        EXPECT_EQ(child.exitCode, 1) << child.errors;
        EXPECT_NE(child.errors.find(c.says), std::string::npos) << child.errors;
        for (const char* stale : {"Resource temporarily unavailable", "No such file"}) {
            EXPECT_EQ(child.errors.find(stale), std::string::npos) << child.errors;
        }
    }
}

// ---------------------------------------------------------------------------

std::vector<std::string> TempFilesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().starts_with(".config.ini.tmp")) {
            names.push_back(entry.path().filename().string());
        }
    }
    return names;
}

// Every section the file held keeps its nine keys with values of one save.
void ExpectWholeSections(const std::string& bytes, int sections) {
    const IniDocument document(bytes);
    for (int slot = 0; slot < sections; ++slot) {
        const std::string section = "P" + std::to_string(slot);
        const std::optional<std::string> x = document.Find(section, "X");
        ASSERT_TRUE(x.has_value()) << section << " lost:\n" << bytes;
        for (const char* key : kSlotKeys) {
            EXPECT_EQ(document.Find(section, key), x) << section << " " << key;
        }
    }
}

// Writers killed at random moments of a save leave the file whole and at
// most one temporary file behind, however many of them die.
TEST(SettingsKilledWriters, LeaveWholeSectionsAndAtMostOneTemporaryFile) {
    TempFolder folder;
    const fs::path path = folder / "config.ini";
    SettingsFile seed(path);
    for (int slot = 0; slot < 10; ++slot) {
        std::vector<IniKeyValue> values;
        for (const char* key : kSlotKeys) {
            values.push_back({key, "0"});
        }
        ASSERT_TRUE(seed.WriteSettings("P" + std::to_string(slot), values));
    }
    std::mt19937 random(12345);
    constexpr int kKills = 40;
    for (int kill = 0; kill < kKills; ++kill) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            SettingsFile file(path);
            for (int round = 1;; ++round) {
                std::vector<IniKeyValue> values;
                for (const char* key : kSlotKeys) {
                    values.push_back({key, std::to_string(round)});
                }
                file.WriteSettings("P" + std::to_string(round % 10), values);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500 + random() % 4000));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        ExpectWholeSections(ReadBytes(path), 10);
    }
    EXPECT_LE(TempFilesIn(folder.Path()).size(), 1u)
        << TempFilesIn(folder.Path()).size() << " temporary files after " << kKills << " kills";
}

// ---------------------------------------------------------------------------

// A writer that re-locks the moment it lets go must not starve a waiting
// one: the waiter gets the lock at the next release.
TEST(SettingsWriterLock, AWaitingWriterGetsTheLockAtTheNextRelease) {
    TempFolder folder;
    const fs::path path = folder / "config.ini";
    std::atomic<bool> stop{false};
    std::atomic<int> releases{0};
    std::optional<FileLock> first = FileLock::Acquire(path);
    ASSERT_TRUE(first.has_value());
    std::thread busy([&, held = std::move(first)]() mutable {
        const auto until = std::chrono::steady_clock::now() + 4s;
        while (!stop && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(2ms);
            held.reset();
            ++releases;
            held = FileLock::Acquire(path, 4s);
        }
    });
    const int releasesBefore = releases;
    std::optional<FileLock> waiter = FileLock::Acquire(path, 2s);
    const int releasesWaited = releases - releasesBefore;
    const bool granted = waiter.has_value();
    stop = true;
    waiter.reset();
    busy.join();
    EXPECT_TRUE(granted);
    // One release is the holder's; a second can pass before the waiter queues.
    EXPECT_LE(releasesWaited, 2);
}

} // namespace
} // namespace huegrab
