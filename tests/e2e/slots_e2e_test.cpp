// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_path.h"
#include "tests/e2e/running_huegrab.h"
#include "tests/x11/support/x_connection.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace huegrab::e2e {
namespace {

void PickColorAt(RunningHuegrab& huegrab, int x, int y, const std::string& color) {
    huegrab.Click("Check1");
    huegrab.MovePointer(x, y);
    ASSERT_TRUE(huegrab.WaitForColor("得颜色", -1, color));
    // Stop with the hotkey: a click would move the pointer, and a tick
    // between the move and the click would pick the check box instead.
    huegrab.Key("alt+grave");
    ASSERT_TRUE(huegrab.WaitForColor("Label8", -1, kLampGreen));
}

TEST(ColorSlotsEndToEnd, PickSurvivesCloseAndRestart) {
    RunningHuegrab huegrab(/*windowManager=*/true);
    ASSERT_TRUE(huegrab.Start());
    huegrab.Server().Run({"xsetroot", "-solid", "#00FF00"});
    PickColorAt(huegrab, 3, 700, "#00FF00");

    huegrab.Click("色块", 2); // slot "3": the pick goes to P0
    // The save follows the click; a slow build (a sanitizer's) takes a while.
    const std::string afterClick = "[P0]\r\nX=3\r\nY=700\r\nC=65280\r\nR=0\r\nG=255\r\nB=0\r\n"
                                   "H=80\r\nS=240\r\nL=120\r\n";
    EXPECT_TRUE(xtest::WaitUntil([&] { return huegrab.ConfigText() == afterClick; }))
        << huegrab.ConfigText();

    // The window manager's close (Alt+F4 in openbox) runs the shutdown.
    huegrab.Click("Label9");
    huegrab.Key("alt+F4");
    ASSERT_EQ(huegrab.WaitForExit(std::chrono::milliseconds(5000)), std::optional<int>(0));
    EXPECT_EQ(huegrab.ConfigText(), afterClick + "[P2]\r\nX=\r\nY=\r\nC=\r\nR=\r\nG=\r\nB=\r\n"
                                                 "H=\r\nS=\r\nL=\r\n");

    // Start again: slot 1's pick is back in the swatch and the slot.
    huegrab.Server().Run({"xsetroot", "-solid", "#FFFFFF"});
    ASSERT_TRUE(huegrab.Start());
    EXPECT_TRUE(huegrab.WaitForColor("得颜色", -1, "#00FF00"));
    EXPECT_TRUE(huegrab.WaitForColor("色块", 0, "#00FF00"));
}

// A program folder whose name is not UTF-8 is still where config.ini is
// read from and written to.
TEST(ColorSlotsEndToEnd, AFolderNamedInAnotherEncodingKeepsItsConfig) {
    RunningHuegrab huegrab;
    huegrab.SetProgramFolderName("caf\xE9");
    huegrab.SetEnvironment("XDG_CONFIG_HOME", (huegrab.Folder() / "xdg").string());
    const std::string stored = "[P0]\r\nX=5\r\nY=6\r\nC=255\r\nR=255\r\nG=0\r\nB=0\r\nH=0\r\n"
                               "S=240\r\nL=120\r\n";
    std::filesystem::create_directories(huegrab.Folder() / "caf\xE9");
    std::ofstream(huegrab.Folder() / "caf\xE9" / "config.ini", std::ios::binary) << stored;
    ASSERT_TRUE(huegrab.Start());
    EXPECT_TRUE(huegrab.WaitForColor("色块", 0, "#FF0000"));

    ::kill(huegrab.Process().Pid(), SIGTERM);
    ASSERT_EQ(huegrab.WaitForExit(std::chrono::milliseconds(5000)), std::optional<int>(0));
    EXPECT_EQ(huegrab.ConfigText(), stored);
    EXPECT_FALSE(std::filesystem::exists(huegrab.Folder() / "xdg"));
}

// Installed in a prefix the user may write (~/.local): config.ini goes to
// $XDG_CONFIG_HOME/huegrab, starting from the one an earlier run left in
// bin/, and nothing new lands in bin/.
TEST(ColorSlotsEndToEnd, AnInstalledProgramKeepsItsConfigInTheUsersFolder) {
    RunningHuegrab huegrab;
    huegrab.SetProgramFolderName("prefix/bin");
    huegrab.SetEnvironment("XDG_CONFIG_HOME", (huegrab.Folder() / "xdg").string());
    const auto bin = huegrab.Folder() / "prefix" / "bin";
    const auto entry = bin / std::string(InstallationMark());
    std::filesystem::create_directories(entry.parent_path());
    std::ofstream(entry) << "[Desktop Entry]\n";
    const std::string stored = "[P0]\r\nX=5\r\nY=6\r\nC=255\r\nR=255\r\nG=0\r\nB=0\r\nH=0\r\n"
                               "S=240\r\nL=120\r\n";
    std::ofstream(bin / "config.ini", std::ios::binary) << stored;
    ASSERT_TRUE(huegrab.Start());
    EXPECT_TRUE(huegrab.WaitForColor("色块", 0, "#FF0000"));

    ::kill(huegrab.Process().Pid(), SIGTERM);
    ASSERT_EQ(huegrab.WaitForExit(std::chrono::milliseconds(5000)), std::optional<int>(0));
    std::ifstream moved(huegrab.Folder() / "xdg" / "huegrab" / "config.ini", std::ios::binary);
    const std::string movedText((std::istreambuf_iterator<char>(moved)), {});
    EXPECT_EQ(movedText.substr(0, stored.size()), stored);
    std::vector<std::string> inBin;
    for (const auto& file : std::filesystem::directory_iterator(bin))
        inBin.push_back(file.path().filename().string());
    EXPECT_EQ(inBin.size(), 2u) << "bin/ holds more than huegrab and the old config.ini";
    EXPECT_EQ(huegrab.ConfigText(), stored);
}

TEST(ColorSlotsEndToEnd, TerminationSignalStoresTheFocusedSlot) {
    RunningHuegrab huegrab;
    ASSERT_TRUE(huegrab.Start());
    huegrab.Server().Run({"xsetroot", "-solid", "#FF0000"});
    huegrab.Click("色块", 4); // slot "5"
    PickColorAt(huegrab, 10, 20, "#FF0000");

    ::kill(huegrab.Process().Pid(), SIGTERM);
    ASSERT_EQ(huegrab.WaitForExit(std::chrono::milliseconds(5000)), std::optional<int>(0));
    const std::string config = huegrab.ConfigText();
    EXPECT_NE(config.find("[P4]\r\nX=10\r\nY=20\r\nC=255\r\nR=255\r\nG=0\r\nB=0\r\nH=0\r\n"
                          "S=240\r\nL=120\r\n"),
              std::string::npos)
        << config;
}

// The ways a session ends without the window's own close: each must still
// store the focused slot, and a burst of signals must not end the process by
// a signal while it exits.
TEST(ColorSlotsEndToEnd, AbruptEndsStillStoreTheFocusedSlot) {
    enum class End { SignalBurst, ServerKilled };
    for (const End end : {End::SignalBurst, End::ServerKilled}) {
        SCOPED_TRACE(end == End::SignalBurst ? "signal burst" : "X server killed");
        RunningHuegrab huegrab;
        ASSERT_TRUE(huegrab.Start());
        huegrab.Server().Run({"xsetroot", "-solid", "#FF0000"});
        huegrab.Click("色块", 4); // slot "5"
        PickColorAt(huegrab, 77, 88, "#FF0000");

        if (end == End::SignalBurst) {
            // The first signal closes the window; the rest arrive while it exits.
            for (int i = 0; i < 200 && huegrab.Process().Running(); ++i)
                ::kill(huegrab.Process().Pid(), SIGTERM);
            EXPECT_EQ(huegrab.WaitForExit(std::chrono::milliseconds(5000)), std::optional<int>(0));
        } else {
            ::kill(huegrab.Server().ServerProcess().Pid(), SIGKILL);
            EXPECT_TRUE(huegrab.WaitForExit(std::chrono::milliseconds(5000)).has_value());
        }
        const std::string config = huegrab.ConfigText();
        EXPECT_NE(config.find("[P4]\r\nX=77\r\nY=88\r\nC=255\r\n"), std::string::npos) << config;
    }
}

} // namespace
} // namespace huegrab::e2e
