// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/utf8_path.h"
#include "settings/settings_file.h"
#include "settings/settings_path.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>
#include <windows.h>

#undef ReplaceFile // the settings operation, not the Windows function

namespace huegrab::platform {
namespace {

namespace fs = std::filesystem;

struct Folder {
    Folder() {
        path = fs::temp_directory_path() /
               ("huegrab-platform-" + std::to_string(::GetCurrentProcessId()) + "-" +
                std::to_string(::GetTickCount64()));
        fs::create_directories(path);
    }
    ~Folder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    fs::path path;
};

void Write(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

TEST(Win32SettingsPlatform, PathsAreTakenForWhatTheyAre) {
    const Folder folder;
    Write(folder.path / "config.ini", "[P0]\r\nX=1\r\n");
    const struct {
        fs::path path;
        PathKind kind;
    } cases[] = {
        {folder.path / "config.ini", PathKind::File},
        {folder.path, PathKind::Folder},
        {folder.path / "missing.ini", PathKind::Missing},
        {folder.path / "no-folder" / "config.ini", PathKind::Missing},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Examine(c.path).kind, c.kind) << c.path.string();

    for (const std::size_t limit : {std::size_t{100}, SIZE_MAX}) {
        const auto whole = ReadFileBounded(folder.path / "config.ini", limit);
        ASSERT_TRUE(whole.has_value());
        EXPECT_EQ(whole->bytes, "[P0]\r\nX=1\r\n") << limit;
        EXPECT_TRUE(whole->complete);
    }
    const auto cut = ReadFileBounded(folder.path / "config.ini", 4);
    ASSERT_TRUE(cut.has_value());
    EXPECT_EQ(cut->bytes, "[P0]");
    EXPECT_FALSE(cut->complete);
    std::string why;
    EXPECT_FALSE(ReadFileBounded(folder.path, 100, &why).has_value());
    EXPECT_FALSE(why.empty());
}

// Windows refuses to replace a file that someone holds open: a reader that
// shares deletion (as ours do) never stops the replace; one that does not is
// waited out while its read lasts.
TEST(Win32SettingsPlatform, ReplaceGoesThroughWhileAReaderHoldsTheFile) {
    const struct {
        const char* name;
        DWORD share;
        std::chrono::milliseconds held; // 0: open for the whole replace
    } cases[] = {
        {"sharing deletion", FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, {}},
        {"a short read without sharing deletion", FILE_SHARE_READ, std::chrono::milliseconds(150)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Folder folder;
        const fs::path file = folder.path / "config.ini";
        const fs::path temp = folder.path / ".config.ini.tmp";
        ASSERT_TRUE(ReplaceFile(file, temp, "first").Ok());
        const HANDLE reader = ::CreateFileW(file.c_str(), GENERIC_READ, c.share, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(reader, INVALID_HANDLE_VALUE);
        std::thread closer;
        if (c.held.count() > 0) {
            closer = std::thread([&] {
                std::this_thread::sleep_for(c.held);
                ::CloseHandle(reader);
            });
        }
        const Status replaced = ReplaceFile(file, temp, "second, longer");
        if (closer.joinable())
            closer.join();
        else
            ::CloseHandle(reader);
        EXPECT_TRUE(replaced.Ok()) << replaced.failedStep << ": " << replaced.reason;
        EXPECT_EQ(ReadFileBounded(file, 100)->bytes, "second, longer");
        EXPECT_FALSE(fs::exists(temp));
    }
}

// A reader never finds the file missing or half-written while saves go on,
// and the old file's attributes stay with the new one.
TEST(Win32SettingsPlatform, TheFileIsReplacedInOneStep) {
    const Folder folder;
    const fs::path file = folder.path / "config.ini";
    const fs::path temp = folder.path / ".config.ini.tmp";
    ASSERT_TRUE(ReplaceFile(file, temp, "[P0]\r\nX=0\r\n").Ok());
    ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN));
    std::atomic<bool> done{false};
    std::atomic<int> reads{0}, missed{0};
    std::thread reader([&] {
        while (!done) {
            const auto contents = ReadFileBounded(file, 100);
            missed += !contents || contents->bytes.rfind("[P0]\r\nX=", 0) != 0;
            ++reads;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(ReplaceFile(file, temp, "[P0]\r\nX=" + std::to_string(i) + "\r\n").Ok());
    done = true;
    reader.join();
    EXPECT_EQ(missed, 0) << "of " << reads << " reads";
    EXPECT_NE(::GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

// What a killed writer left under the temporary name never blocks the
// saves after it, whatever its attributes: the next save takes the name.
TEST(Win32SettingsPlatform, ALeftoverTemporaryFileIsReplaced) {
    const DWORD attributes[] = {FILE_ATTRIBUTE_NORMAL, FILE_ATTRIBUTE_READONLY,
                                FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN};
    for (const DWORD leftover : attributes) {
        SCOPED_TRACE(leftover);
        const Folder folder;
        const fs::path file = folder.path / "config.ini";
        const fs::path temp = folder.path / ".config.ini.tmp";
        Write(file, "old");
        Write(temp, "half a save");
        ASSERT_TRUE(::SetFileAttributesW(temp.c_str(), leftover));
        const Status replaced = ReplaceFile(file, temp, "new");
        EXPECT_TRUE(replaced.Ok()) << replaced.failedStep << ": " << replaced.reason;
        EXPECT_EQ(ReadFileBounded(file, 100)->bytes, replaced.Ok() ? "new" : "old");
        EXPECT_FALSE(fs::exists(temp));
        ::SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_NORMAL); // lets the folder go
    }
}

// A read-only file is left alone. One another program holds open for
// reading only may be written: the replace waits such a reader out.
TEST(Win32SettingsPlatform, AReadOnlyFileMayNotBeWritten) {
    const Folder folder;
    const fs::path file = folder.path / "config.ini";
    Write(file, "[P0]\r\n");
    EXPECT_TRUE(CheckMayWrite(file).Ok());
    const HANDLE reader = ::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CheckMayWrite(file).Ok()) << "while another program reads it";
    ::CloseHandle(reader);
    ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(CheckMayWrite(file).Ok());
    EXPECT_FALSE(ReplaceFile(file, folder.path / ".config.ini.tmp", "new").Ok());
    EXPECT_EQ(ReadFileBounded(file, 100)->bytes, "[P0]\r\n");
    ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Win32SettingsPlatform, OneWriterLockAtATime) {
    const Folder folder;
    const fs::path lockPath = folder.path / ".config.ini.lock";
    Status failure;
    auto first = WriterLock::Acquire(lockPath, std::chrono::milliseconds(0), failure);
    ASSERT_TRUE(first.has_value()) << failure.reason;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(WriterLock::Acquire(lockPath, std::chrono::milliseconds(150), failure));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(140));
    EXPECT_LT(waited, std::chrono::seconds(3));
    EXPECT_FALSE(failure.Ok());
    first.reset();
    EXPECT_TRUE(WriterLock::Acquire(lockPath, std::chrono::milliseconds(0), failure).has_value());
}

TEST(Win32SettingsPlatform, TheUserFolderIsUnderAppData) {
    const struct {
        std::optional<std::string> appData;
        std::optional<std::string> folder;
    } cases[] = {
        {"C:\\Users\\ann\\AppData\\Roaming", "C:\\Users\\ann\\AppData\\Roaming\\huegrab"},
        {std::nullopt, std::nullopt},
        {"", std::nullopt},
        {"AppData", std::nullopt}, // relative
    };
    for (const auto& c : cases) {
        const GetEnvFunction getEnv = [&](const char* name) {
            return std::string(name) == "APPDATA" ? c.appData : std::nullopt;
        };
        EXPECT_EQ(UserSettingsFolder(getEnv), c.folder) << c.appData.value_or("(unset)");
    }
    const Folder folder;
    EXPECT_TRUE(IsWritableFolder(folder.path.string()));
    EXPECT_FALSE(IsWritableFolder((folder.path / "missing").string()));
}

// Folders named outside the ANSI code page - a profile or a program folder
// named in Chinese on a Western system - reach the file system by their own
// names, and a name with no UTF-8 form is still shown in a message.
TEST(Win32SettingsPlatform, FoldersNamedInAnyScriptKeepTheirNames) {
    // Set as the C runtime sets it, so that getenv sees it too.
    ASSERT_EQ(_wputenv_s(L"HUEGRAB_TEST_APPDATA", L"C:\\用户\\Ann"), 0);
    EXPECT_EQ(SystemSettingsPathEnvironment().getEnv("HUEGRAB_TEST_APPDATA"),
              std::optional<std::string>("C:\\用户\\Ann"));
    _wputenv_s(L"HUEGRAB_TEST_APPDATA", L""); // unsets it
    EXPECT_EQ(EnvironmentValue("HUEGRAB_TEST_APPDATA"), std::nullopt);

    const Folder folder;
    fs::create_directories(folder.path / L"工具");
    SettingsFile file(PathFromUtf8(Utf8FromPath(folder.path) + "/工具/config.ini"));
    ASSERT_TRUE(file.WriteSetting("P0", "X", "1"));
    EXPECT_TRUE(fs::is_regular_file(folder.path / L"工具" / L"config.ini"));
    EXPECT_EQ(file.ReadSetting("P0", "X"), "1");

    EXPECT_EQ(Utf8FromPath(fs::path(std::wstring{L'a', wchar_t(0xD800), L'b'})), "a\uFFFDb");
}

// The settings path of a program folder named in another script: beside the
// program for a copy run from its folder, in %APPDATA% once the folder holds
// an installation (the launcher entry found through the folder's own name).
TEST(Win32SettingsPlatform, AProgramFolderNamedInAnyScriptFindsItsInstallation) {
    const Folder folder;
    const fs::path program = folder.path / L"工具" / L"bin";
    fs::create_directories(program);
    SettingsPathEnvironment env = SystemSettingsPathEnvironment();
    env.getEnv = [](const char* name) -> std::optional<std::string> {
        if (std::string(name) == "APPDATA")
            return "C:\\用户\\Ann";
        return std::nullopt;
    };
    const std::string programUtf8 = Utf8FromPath(program);
    EXPECT_EQ(SettingsPath(programUtf8, env, false), programUtf8 + "/config.ini");
    const fs::path entry = program / PathFromUtf8(InstallationMark());
    fs::create_directories(entry.parent_path());
    std::ofstream(entry) << "[Desktop Entry]\n";
    EXPECT_EQ(SettingsPath(programUtf8, env, false), "C:\\用户\\Ann\\huegrab/config.ini");
}

} // namespace
} // namespace huegrab::platform
