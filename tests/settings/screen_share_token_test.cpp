// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/screen_share_token.h"
#include "settings/settings_file.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

namespace huegrab {
namespace {

using test_support::ReadBytes;
using test_support::TempFolder;
using test_support::WriteBytes;

TEST(ScreenShareToken, OneKeyPerDesktopEachKeepingItsNewestToken) {
    TempFolder folder;
    WriteBytes(folder / "config.ini", "[P0]\r\nX=5\r\n");
    SettingsFile file(folder / "config.ini");
    EXPECT_EQ(ReadScreenShareToken(file, "GNOME"), "");
    ASSERT_TRUE(WriteScreenShareToken(file, "GNOME", "0b9a7c1e-first"));
    ASSERT_TRUE(WriteScreenShareToken(file, "ubuntu:GNOME", "0b9a7c1e-ubuntu"));
    ASSERT_TRUE(WriteScreenShareToken(file, "GNOME", "4f2d-second"));
    EXPECT_EQ(ReadScreenShareToken(file, "GNOME"), "4f2d-second");
    EXPECT_EQ(ReadScreenShareToken(file, "ubuntu:GNOME"), "0b9a7c1e-ubuntu");
    EXPECT_EQ(ReadScreenShareToken(file, "KDE"), "");
    // The slots stay as they were.
    EXPECT_EQ(
        ReadBytes(folder / "config.ini"),
        "[P0]\r\nX=5\r\n[ScreenShare]\r\nGNOME=4f2d-second\r\nubuntuGNOME=0b9a7c1e-ubuntu\r\n");
}

TEST(ScreenShareToken, KeysAndTokensThatCouldNotComeFromADesktop) {
    const struct {
        const char* desktop;
        const char* key;
    } keys[] = {{"GNOME", "GNOME"},
                {"ubuntu:GNOME", "ubuntuGNOME"},
                {"", "Wayland"},
                {"[]=;", "Wayland"},
                {"sway", "sway"}};
    for (const auto& k : keys)
        EXPECT_EQ(ScreenShareKey(k.desktop), k.key) << k.desktop;

    TempFolder folder;
    SettingsFile file(folder / "config.ini");
    // Edited by hand or by another program: what is no token reads as none,
    // and storing such text stores nothing a portal would be handed.
    for (const std::string& stored : {std::string("a b"), std::string("tab\there"),
                                      std::string("\xC3\xA9t\xC3\xA9"), std::string(257, 'x')}) {
        WriteBytes(folder / "config.ini", "[ScreenShare]\r\nGNOME=" + stored + "\r\n");
        EXPECT_EQ(ReadScreenShareToken(file, "GNOME"), "") << stored;
        ASSERT_TRUE(WriteScreenShareToken(file, "GNOME", stored));
        EXPECT_EQ(ReadScreenShareToken(file, "GNOME"), "") << stored;
    }
    ASSERT_TRUE(WriteScreenShareToken(file, "GNOME", std::string(256, 'x')));
    EXPECT_EQ(ReadScreenShareToken(file, "GNOME"), std::string(256, 'x'));
}

} // namespace
} // namespace huegrab
