// SPDX-License-Identifier: GPL-3.0-or-later
// Pointer and keyboard state of the X11 desktop against a private Xvfb,
// driven by xdotool as another client would.

#include "desktop/x11/x11_desktop.h"
#include "tests/x11/support/xvfb_server.h"
#include "tests/x11/x11_server_test.h"

#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <string>

namespace huegrab {
namespace {

using xtest::XvfbServer;

class X11PointerKeys : public X11ServerTest<640, 480> {
protected:
    // "x y" as xdotool sees the pointer.
    static std::string XdotoolPointer() {
        const std::string shell = server_->Run({"xdotool", "getmouselocation", "--shell"}).output;
        const auto value = [&](const std::string& key) {
            const auto start = shell.find(key + "=");
            if (start == std::string::npos)
                return std::string("?");
            const auto from = start + key.size() + 1;
            return shell.substr(from, shell.find('\n', from) - from);
        };
        return value("X") + " " + value("Y");
    }
};

TEST(X11DesktopOpen, GivesNothingWithoutAServer) {
    EXPECT_EQ(X11Desktop::Open(":65001"), nullptr);
}

TEST_F(X11PointerKeys, ServersOfParallelProgramsGetTheirOwnDisplays) {
    const auto second = XvfbServer::Start({.width = 64, .height = 48, .depth = 24});
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second->DisplayName(), server_->DisplayName());
    auto other = X11Desktop::Open(second->DisplayName().c_str());
    ASSERT_NE(other, nullptr);
    ASSERT_EQ(second->Run({"xdotool", "mousemove", "60", "40"}).exitCode, 0);
    ASSERT_EQ(Xdotool({"mousemove", "5", "6"}), 0);
    EXPECT_EQ(other->GetCursorPos(), (ScreenPoint{60, 40}));
    EXPECT_EQ(desktop_->GetCursorPos(), (ScreenPoint{5, 6}));
}

TEST_F(X11PointerKeys, GetCursorPosFollowsThePointerMovedByAnotherClient) {
    for (const ScreenPoint point : {ScreenPoint{123, 45}, ScreenPoint{0, 0}, ScreenPoint{639, 479},
                                    ScreenPoint{0, 479}, ScreenPoint{320, 240}}) {
        ASSERT_EQ(Xdotool({"mousemove", std::to_string(point.x), std::to_string(point.y)}), 0);
        EXPECT_EQ(desktop_->GetCursorPos(), point);
    }
}

TEST_F(X11PointerKeys, SetCursorPosIsSeenByOtherClients) {
    desktop_->SetCursorPos(200, 300);
    EXPECT_EQ(XdotoolPointer(), "200 300");
    desktop_->SetCursorPos(639, 0);
    EXPECT_EQ(XdotoolPointer(), "639 0");
    EXPECT_EQ(desktop_->GetCursorPos(), (ScreenPoint{639, 0}));
}

TEST_F(X11PointerKeys, SetCursorPosOffTheScreenStopsAtTheEdge) {
    // X coordinates are 16-bit: 70000 would wrap to 4464 if passed on as is.
    desktop_->SetCursorPos(70000, 100);
    EXPECT_EQ(XdotoolPointer(), "639 100");
    desktop_->SetCursorPos(-5, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(XdotoolPointer(), "0 0");
    desktop_->SetCursorPos(std::numeric_limits<std::int32_t>::max(), 479);
    EXPECT_EQ(XdotoolPointer(), "639 479");
}

TEST_F(X11PointerKeys, ArrowKeysAndTheBacktickReadAsDownOnlyWhileHeld) {
    const struct {
        const char* keysym;
        int virtualKey;
    } keys[] = {{"Up", vk::kUp},
                {"Left", vk::kLeft},
                {"Down", vk::kDown},
                {"Right", vk::kRight},
                {"grave", vk::kOem3}};
    for (const auto& key : keys) {
        SCOPED_TRACE(key.keysym);
        ASSERT_EQ(Xdotool({"keydown", key.keysym}), 0);
        for (const auto& other : keys)
            EXPECT_EQ(desktop_->IsKeyPressed(other.virtualKey), &other == &key) << other.keysym;
        ASSERT_EQ(Xdotool({"keyup", key.keysym}), 0);
        EXPECT_FALSE(desktop_->IsKeyPressed(key.virtualKey));
    }
}

TEST_F(X11PointerKeys, SeveralKeysHeldTogetherAllReadAsDown) {
    ASSERT_EQ(Xdotool({"keydown", "Up", "Left"}), 0);
    EXPECT_TRUE(desktop_->IsKeyPressed(vk::kUp));
    EXPECT_TRUE(desktop_->IsKeyPressed(vk::kLeft));
    EXPECT_FALSE(desktop_->IsKeyPressed(vk::kDown));
    // One read answers for several keys, each in its own bit.
    const int keys[] = {vk::kDown, vk::kUp, vk::kRight, vk::kLeft, -1};
    EXPECT_EQ(desktop_->KeysPressed(keys), 0b01010u);
    // The tick's read of pointer and keys together agrees with both.
    ASSERT_EQ(Xdotool({"mousemove", "17", "29"}), 0);
    const PointerAndKeys both = desktop_->ReadPointerAndKeys(keys);
    EXPECT_EQ(both.position, (ScreenPoint{17, 29}));
    EXPECT_EQ(both.keysDown, 0b01010u);
    const int unmapped[] = {-1, 0x07};
    EXPECT_EQ(desktop_->ReadPointerAndKeys(unmapped).keysDown, 0u);
    EXPECT_EQ(desktop_->ReadPointerAndKeys(unmapped).position, (ScreenPoint{17, 29}));
    ASSERT_EQ(Xdotool({"keyup", "Up", "Left"}), 0);
    EXPECT_FALSE(desktop_->IsKeyPressed(vk::kUp));
    EXPECT_FALSE(desktop_->IsKeyPressed(vk::kLeft));
}

TEST_F(X11PointerKeys, KeysWithoutAMappingReadAsUp) {
    ASSERT_EQ(Xdotool({"keydown", "Up"}), 0);
    for (const int unknown : {-1, 0, 0x07, 0xFF, 256, 100000})
        EXPECT_FALSE(desktop_->IsKeyPressed(unknown)) << unknown;
    ASSERT_EQ(Xdotool({"keyup", "Up"}), 0);
}

} // namespace
} // namespace huegrab
