// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/e2e/running_huegrab.h"
#include "tests/x11/support/test_client.h"
#include "tests/x11/support/x_connection.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <regex>
#include <thread>
#include <vector>

namespace huegrab::e2e {
namespace {

TEST(TrackingEndToEnd, StartStopCheckBoxMakesTheSwatchFollowThePointer) {
    RunningHuegrab huegrab;
    ASSERT_TRUE(huegrab.Start());
    huegrab.Server().Run({"xsetroot", "-solid", "#123456"});
    EXPECT_TRUE(huegrab.WaitForColor("Label8", -1, kLampGreen)); // comes up stopped

    huegrab.Click("Check1");
    EXPECT_TRUE(huegrab.WaitForColor("Label8", -1, kLampRed));
    huegrab.MovePointer(5, 5);
    EXPECT_TRUE(huegrab.WaitForColor("得颜色", -1, "#123456"));
    EXPECT_TRUE(huegrab.WaitForColor("色块", 0, "#123456"));

    // Stopped, the swatch keeps the last colour, whatever lies under the
    // pointer now. (The click itself moves the pointer, so the last tick may
    // have seen the check box.)
    huegrab.Click("Check1");
    EXPECT_TRUE(huegrab.WaitForColor("Label8", -1, kLampGreen));
    const std::string kept = huegrab.ScreenColor(huegrab.Inside("得颜色"));
    huegrab.MovePointer(5, 5);
    huegrab.Server().Run({"xsetroot", "-solid", "#FFFFFF"});
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_EQ(huegrab.ScreenColor(huegrab.Inside("得颜色")), kept);
    EXPECT_NE(kept, "#FFFFFF");
}

// What the program sets for its own window (no shared memory; on Wayland,
// the X11 platform) is for Qt alone: a program it starts (the mail program
// behind the contact line) gets the environment the user gave it.
TEST(TrackingEndToEnd, ProgramsItStartsGetTheUsersEnvironment) {
    const auto own = [](const char* name) {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    };
    struct Case {
        const char* session;
        std::vector<std::pair<std::string, std::string>> given;
        std::optional<std::string> platform; // QT_QPA_PLATFORM as started programs see it
    };
    const Case cases[] = {
        {"X11", {}, own("QT_QPA_PLATFORM")},
        {"Wayland",
         {{"WAYLAND_DISPLAY", "huegrab-test-no-such-display"}, {"QT_QPA_PLATFORM", "wayland"}},
         "wayland"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.session);
        RunningHuegrab huegrab;
        // Qt hands a mailto: link to xdg-open found on the PATH: this one
        // notes the environment it was started with.
        const std::filesystem::path bin = huegrab.Folder() / "bin";
        const std::filesystem::path noted = huegrab.Folder() / "xdg-open.env";
        std::filesystem::create_directories(bin);
        {
            std::ofstream script(bin / "xdg-open");
            script << "#!/bin/sh\nenv > '" << noted.string() << ".part' && mv '" << noted.string()
                   << ".part' '" << noted.string() << "'\n";
        }
        std::filesystem::permissions(bin / "xdg-open", std::filesystem::perms::owner_all);
        huegrab.SetEnvironment("PATH", bin.string() + ":" + own("PATH").value_or("/usr/bin:/bin"));
        for (const auto& [name, value] : test.given)
            huegrab.SetEnvironment(name, value);
        ASSERT_TRUE(huegrab.Start());

        huegrab.Click("Label7");
        ASSERT_TRUE(xtest::WaitUntil([&] { return std::filesystem::exists(noted); }))
            << "the contact line started no xdg-open";
        std::ifstream in(noted);
        std::optional<std::string> platform;
        bool noMitShm = false;
        for (std::string line; std::getline(in, line);) {
            if (line.starts_with("QT_QPA_PLATFORM="))
                platform = line.substr(line.find('=') + 1);
            noMitShm = noMitShm || line.starts_with("QT_XCB_NO_MITSHM=");
        }
        EXPECT_EQ(platform, test.platform);
        EXPECT_EQ(noMitShm, own("QT_XCB_NO_MITSHM").has_value());
    }
}

TEST(TrackingEndToEnd, TheFramedWindowComesUpCentred) {
    RunningHuegrab huegrab(/*windowManager=*/true);
    ASSERT_TRUE(huegrab.Start());
    const std::string info = huegrab.Server().Run({"xwininfo", "-id", huegrab.WindowId()}).output;
    // left, right, top, bottom: the frame the window manager put around it.
    const std::string extents =
        huegrab.Server().Run({"xprop", "-id", huegrab.WindowId(), "_NET_FRAME_EXTENTS"}).output;
    auto number = [](const std::string& text, const std::string& pattern) {
        std::smatch match;
        return std::regex_search(text, match, std::regex(pattern)) ? std::stoi(match[1]) : -10000;
    };
    std::smatch frame;
    ASSERT_TRUE(std::regex_search(extents, frame, std::regex("= (\\d+), (\\d+), (\\d+), (\\d+)")))
        << extents;
    const int left = std::stoi(frame[1]), right = std::stoi(frame[2]);
    const int top = std::stoi(frame[3]), bottom = std::stoi(frame[4]);
    const int x = number(info, "Absolute upper-left X:\\s+(-?\\d+)") - left;
    const int y = number(info, "Absolute upper-left Y:\\s+(-?\\d+)") - top;
    const int width = number(info, "Width:\\s+(\\d+)") + left + right;
    const int height = number(info, "Height:\\s+(\\d+)") + top + bottom;
    const auto& options = huegrab.Server().Options();
    EXPECT_NEAR(x + width / 2, options.width / 2, 1) << info << extents;
    EXPECT_NEAR(y + height / 2, options.height / 2, 1) << info << extents;
}

TEST(TrackingEndToEnd, AltTildeTogglesTrackingWithNumLockOn) {
    RunningHuegrab huegrab;
    ASSERT_TRUE(huegrab.Start());
    huegrab.Key("Num_Lock");
    xtest::XConnection display = xtest::OpenConnection(huegrab.Server().DisplayName());
    ASSERT_TRUE(display);
    ASSERT_EQ(xtest::IndicatorOn(display.get(), "Num Lock"), std::optional<bool>(true));

    huegrab.Key("alt+grave");
    EXPECT_TRUE(huegrab.WaitForColor("Label8", -1, kLampRed));
    huegrab.Key("alt+grave");
    EXPECT_TRUE(huegrab.WaitForColor("Label8", -1, kLampGreen));
    // A click and the hotkey stay in step.
    huegrab.Click("Check1");
    EXPECT_TRUE(huegrab.WaitForColor("Label8", -1, kLampRed));
    huegrab.Key("alt+grave");
    EXPECT_TRUE(huegrab.WaitForColor("Label8", -1, kLampGreen));
}

// The open list of a drop-down holds the keyboard; the hotkey still toggles
// tracking, once per press.
TEST(TrackingEndToEnd, AltTildeTogglesTrackingWhileADropDownListIsOpen) {
    RunningHuegrab huegrab;
    ASSERT_TRUE(huegrab.Start());
    huegrab.Click("Option2", 1);
    huegrab.Click("Combo1");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    huegrab.Key("alt+grave");
    EXPECT_TRUE(huegrab.WaitForColor("Label8", -1, kLampRed));
    huegrab.Key("alt+grave");
    EXPECT_TRUE(huegrab.WaitForColor("Label8", -1, kLampGreen));
}

// "-display" names the X server for the window and for every reading alike:
// DISPLAY names another (here none), and the program still starts and its
// hotkey works on the server of its window.
TEST(TrackingEndToEnd, TheDisplayOptionServesTheWindowAndTheReadingsAlike) {
    RunningHuegrab huegrab;
    huegrab.SetEnvironment("DISPLAY", ":65001");
    huegrab.SetArguments({"-display", huegrab.Server().DisplayName()});
    ASSERT_TRUE(huegrab.Start());
    huegrab.Key("alt+grave");
    EXPECT_TRUE(huegrab.WaitForColor("Label8", -1, kLampRed));
}

TEST(TrackingEndToEnd, TypedColorCodeShowsItsColor) {
    RunningHuegrab huegrab;
    ASSERT_TRUE(huegrab.Start());
    huegrab.Click("查10");
    huegrab.Server().Run({"xdotool", "type", "0000FF"});
    huegrab.Click("Command1");
    EXPECT_TRUE(huegrab.WaitForColor("查颜色", -1, "#FF0000"));
    // Ctrl+A in a readout offers its value for a middle-click paste.
    huegrab.Click("查10r");
    huegrab.Key("ctrl+a");
    EXPECT_TRUE(xtest::WaitUntil([&] {
        return huegrab.Server().Run({"xclip", "-o", "-selection", "primary"}).output == "255";
    }));
}

TEST(TrackingEndToEnd, SecondCopyRunsWithoutTheHotkeyAndTheFirstKeepsIt) {
    RunningHuegrab first;
    ASSERT_TRUE(first.Start());
    // Another copy, from its own folder, finds Alt + ~ taken.
    RunningHuegrab second;
    const auto copy = second.Folder() / "huegrab";
    std::filesystem::copy_file(HUEGRAB_BINARY, copy);
    const auto diagnostics = second.Folder() / "stderr.txt";
    auto secondProcess = first.Server().Launch(
        {"sh", "-c", "exec \"$0\" 2>\"$1\"", copy.string(), diagnostics.string()});
    ASSERT_TRUE(secondProcess);
    ASSERT_EQ(first.Server()
                  .Run({"xdotool", "search", "--sync", "--onlyvisible", "--all", "--pid",
                        std::to_string(secondProcess->Pid()), "--name", "^Huegrab"})
                  .exitCode,
              0);
    first.Key("alt+grave");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(secondProcess->Running());
    // It knows it runs without the hotkey: a copy that wrongly believed it
    // held the key would race the first for it on every keyboard change.
    std::ifstream said(diagnostics);
    const std::string text{std::istreambuf_iterator<char>(said), {}};
    EXPECT_NE(text.find("already grabbed by another program"), std::string::npos) << text;
    // The second window covers the first; once it is gone the first shows
    // that the press reached it.
    secondProcess->Terminate();
    EXPECT_TRUE(first.WaitForColor("Label8", -1, kLampRed));
}

// A script that destroys the window (xdotool's windowclose) ends the program
// as a close does: nothing stays behind holding Alt + ~ out of sight.
TEST(TrackingEndToEnd, AWindowDestroyedByAnotherClientEndsTheProgram) {
    RunningHuegrab huegrab(/*windowManager=*/true);
    ASSERT_TRUE(huegrab.Start());
    huegrab.Click("Check1");
    ASSERT_TRUE(huegrab.WaitForColor("Label8", -1, kLampRed));
    auto client = xtest::TestClient::Connect(huegrab.Server().DisplayName());
    ASSERT_TRUE(client);
    ASSERT_FALSE(client->GrabKey("grave", xtest::kAltMask)); // the program holds it

    ASSERT_EQ(huegrab.Server().Run({"xdotool", "windowclose", huegrab.WindowId()}).exitCode, 0);
    ASSERT_EQ(huegrab.WaitForExit(std::chrono::milliseconds(10000)), std::optional<int>(0));
    EXPECT_TRUE(client->GrabKey("grave", xtest::kAltMask));
    // The shutdown stored the focused slot.
    EXPECT_NE(huegrab.ConfigText().find("[P0]"), std::string::npos) << huegrab.ConfigText();
}

} // namespace
} // namespace huegrab::e2e
