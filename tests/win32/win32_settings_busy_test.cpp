// A save while another program briefly reads config.ini without sharing
// write access: the replace waits such a read out, so the save as a whole
// must too.
#include "settings/settings_file.h"
#include "settings/settings_platform.h"

#include <fstream>
#include <gtest/gtest.h>
#include <thread>
#include <windows.h>

namespace huegrab {
namespace {

namespace fs = std::filesystem;

TEST(Win32SettingsBusy, ASaveWaitsOutAShortReadThatSharesNoWriting) {
    const fs::path folder =
        fs::temp_directory_path() / ("huegrab-busy-" + std::to_string(::GetCurrentProcessId()));
    fs::create_directories(folder);
    const fs::path file = folder / "config.ini";
    std::ofstream(file, std::ios::binary) << "[P0]\r\nX=1\r\n";
    const HANDLE reader = ::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    std::thread closer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        ::CloseHandle(reader);
    });
    SettingsFile settings(file);
    const bool written = settings.WriteSetting("P0", "X", "2");
    closer.join();
    EXPECT_TRUE(written);
    EXPECT_EQ(settings.ReadSetting("P0", "X"), "2");
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

} // namespace
} // namespace huegrab
