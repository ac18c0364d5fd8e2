// SPDX-License-Identifier: GPL-3.0-or-later
// The global hotkey of the X11 desktop: passive grabs on a private Xvfb,
// pressed with xdotool, with and without lock keys, and contested by a
// second client.

#include "desktop/x11/x11_desktop.h"
#include "tests/x11/support/test_client.h"
#include "tests/x11/support/xvfb_server.h"
#include "tests/x11/x11_server_test.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <poll.h>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace huegrab {
namespace {

using namespace std::chrono_literals;
using xtest::TestClient;
using xtest::XvfbServer;

constexpr int kHotkeyId = 1001;
// A delivered press as (id, modifiers, key), comparable and printable.
using Message = std::tuple<int, unsigned, int>;

class X11Hotkey : public X11ServerTest<320, 240> {
protected:
    // A second screen: keys pressed with the pointer there go to its windows.
    static void SetUpTestSuite() {
        server_ = XvfbServer::Start(
            {.width = 320, .height = 240, .extraArguments = {"-screen", "1", "200x100x16"}});
    }

    void SetUp() override {
        X11ServerTest::SetUp();
        if (HasFatalFailure())
            return;
        SetLock("Caps Lock", "Caps_Lock", false);
        SetLock("Num Lock", "Num_Lock", false);
        desktop_->SetHotkeyHandler([this](const HotkeyPress& m) {
            received_.emplace_back(m.id, m.modifiers, m.virtualKey);
        });
    }
    void TearDown() override {
        desktop_.reset();
        if (client_) {
            SetLock("Caps Lock", "Caps_Lock", false);
            SetLock("Num Lock", "Num_Lock", false);
        }
        X11ServerTest::TearDown();
    }

    // Turns a lock key on or off with a key press, as a user would.
    void SetLock(const char* indicator, const char* keysym, bool on) {
        const auto state = xtest::IndicatorOn(client_->Connection(), indicator);
        ASSERT_TRUE(state.has_value()) << indicator;
        if (*state != on) {
            ASSERT_EQ(Xdotool({"key", keysym}), 0);
        }
        ASSERT_TRUE(xtest::WaitUntil([&] {
            return xtest::IndicatorOn(client_->Connection(), indicator) == on;
        })) << indicator;
    }

    // Runs the event loop as the program does: wait on EventFd(), then
    // DispatchEvents(), until `count` messages came or `timeout` passed.
    void Pump(std::size_t count, std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (true) {
            desktop_->DispatchEvents();
            if (received_.size() >= count || std::chrono::steady_clock::now() >= deadline)
                return;
            pollfd readable{desktop_->EventFd(), POLLIN, 0};
            poll(&readable, 1, 20);
        }
    }
    // The messages one key combination delivers. xdotool closes its
    // connection before it exits, which waits until the server has handled
    // its key events; a round trip on the desktop's connection after that
    // brings in every event they caused.
    std::vector<Message> Press(const std::string& keys) {
        received_.clear();
        EXPECT_EQ(Xdotool({"key", keys}), 0);
        RoundTrip();
        Pump(2, 50ms);
        return received_;
    }
    void RoundTrip() { desktop_->GetCursorPos(); }
    // Changes the keyboard mapping with xmodmap and lets the desktop handle
    // the change, as the program's event loop would.
    bool Remap(const std::vector<std::string>& expressions) {
        std::vector<std::string> command{"xmodmap"};
        for (const std::string& expression : expressions) {
            command.push_back("-e");
            command.push_back(expression);
        }
        const bool changed = server_->Run(command).exitCode == 0;
        RoundTrip();
        desktop_->DispatchEvents();
        return changed;
    }

    std::vector<Message> received_;
};

const std::vector<Message> kOneAltBacktick{{kHotkeyId, hotkey_mod::kAlt, vk::kOem3}};
const std::vector<Message> kNothing{};
const std::vector<Message> kOneAltK{{kHotkeyId, hotkey_mod::kAlt, 'K'}};

TEST_F(X11Hotkey, AltBacktickDeliversOneMessageShapedLikeWmHotkey) {
    EXPECT_GE(desktop_->EventFd(), 0);
    ASSERT_TRUE(desktop_->RegisterHotKey(kHotkeyId, hotkey_mod::kAlt, vk::kOem3));
    EXPECT_EQ(Press("alt+grave"), kOneAltBacktick);
    EXPECT_EQ(Press("alt+grave"), kOneAltBacktick);
}

TEST_F(X11Hotkey, WorksWithThePointerOnAnotherScreen) {
    ASSERT_TRUE(desktop_->RegisterHotKey(kHotkeyId, hotkey_mod::kAlt, vk::kOem3));
    ASSERT_EQ(Xdotool({"mousemove", "--screen", "1", "50", "50"}), 0);
    const std::vector<Message> there = Press("alt+grave");
    ASSERT_EQ(Xdotool({"mousemove", "--screen", "0", "50", "50"}), 0);
    EXPECT_EQ(there, kOneAltBacktick);
    EXPECT_EQ(Press("alt+grave"), kOneAltBacktick);
}

TEST_F(X11Hotkey, WorksWhateverTheLockKeys) {
    ASSERT_TRUE(desktop_->RegisterHotKey(kHotkeyId, hotkey_mod::kAlt, vk::kOem3));
    SetLock("Num Lock", "Num_Lock", true);
    EXPECT_EQ(Press("alt+grave"), kOneAltBacktick) << "NumLock on";
    SetLock("Caps Lock", "Caps_Lock", true);
    EXPECT_EQ(Press("alt+grave"), kOneAltBacktick) << "NumLock and CapsLock on";
    SetLock("Num Lock", "Num_Lock", false);
    EXPECT_EQ(Press("alt+grave"), kOneAltBacktick) << "CapsLock on";
}

TEST_F(X11Hotkey, OtherModifierCombinationsDeliverNothing) {
    ASSERT_TRUE(desktop_->RegisterHotKey(kHotkeyId, hotkey_mod::kAlt, vk::kOem3));
    EXPECT_EQ(Press("ctrl+alt+grave"), kNothing);
    EXPECT_EQ(Press("shift+alt+grave"), kNothing);
    EXPECT_EQ(Press("grave"), kNothing);
    EXPECT_EQ(Press("alt+1"), kNothing);
    SetLock("Num Lock", "Num_Lock", true);
    EXPECT_EQ(Press("ctrl+alt+grave"), kNothing) << "NumLock on";
    EXPECT_EQ(Press("alt+grave"), kOneAltBacktick) << "and the hotkey itself still works";
}

TEST_F(X11Hotkey, AHeldKeyDeliversOneMessagePerPress) {
    ASSERT_TRUE(desktop_->RegisterHotKey(kHotkeyId, hotkey_mod::kAlt, vk::kOem3));
    // Short auto-repeat delay, so that a held key repeats within the test.
    ASSERT_EQ(server_->Run({"xset", "r", "rate", "100", "50"}).exitCode, 0);

    // The server does repeat a held key: a second client grabbing F9 sees it.
    ASSERT_TRUE(client_->GrabKey("F9", 0));
    ASSERT_EQ(Xdotool({"keydown", "F9", "sleep", "0.6", "keyup", "F9"}), 0);
    client_->Sync();
    EXPECT_GT(client_->TakeKeyPresses(), 3) << "no auto-repeat on this server";
    client_->UngrabKey("F9", 0);

    received_.clear();
    ASSERT_EQ(Xdotool({"keydown", "alt+grave", "sleep", "0.6", "keyup", "alt+grave"}), 0);
    RoundTrip();
    Pump(2, 50ms);
    EXPECT_EQ(received_, kOneAltBacktick);
    EXPECT_EQ(Press("alt+grave"), kOneAltBacktick) << "the next press counts again";
    ASSERT_EQ(server_->Run({"xset", "r", "rate", "660", "25"}).exitCode, 0);
}

TEST_F(X11Hotkey, IdsAndModifiersOfSeveralHotkeysReachTheHandler) {
    ASSERT_TRUE(desktop_->RegisterHotKey(kHotkeyId, hotkey_mod::kAlt, vk::kOem3));
    ASSERT_TRUE(desktop_->RegisterHotKey(7, hotkey_mod::kControl | hotkey_mod::kShift, 'K'));
    EXPECT_EQ(Press("ctrl+shift+k"),
              (std::vector<Message>{{7, hotkey_mod::kControl | hotkey_mod::kShift, 'K'}}));
    EXPECT_EQ(Press("alt+grave"), kOneAltBacktick);
    // The same combination cannot be registered twice.
    EXPECT_FALSE(desktop_->RegisterHotKey(8, hotkey_mod::kAlt, vk::kOem3));
    EXPECT_EQ(Press("alt+grave"), kOneAltBacktick);
}

TEST_F(X11Hotkey, UnregisterStopsDelivery) {
    ASSERT_TRUE(desktop_->RegisterHotKey(kHotkeyId, hotkey_mod::kAlt, vk::kOem3));
    EXPECT_EQ(Press("alt+grave"), kOneAltBacktick);
    desktop_->UnregisterHotKey(kHotkeyId);
    EXPECT_EQ(Press("alt+grave"), kNothing);
    SetLock("Num Lock", "Num_Lock", true);
    EXPECT_EQ(Press("alt+grave"), kNothing) << "no grab is left for NumLock either";
    // Unknown ids are ignored.
    desktop_->UnregisterHotKey(4242);
}

TEST_F(X11Hotkey, AHotkeyHeldByAnotherProgramIsRefusedWithoutAPartialGrab) {
    ASSERT_TRUE(client_->GrabKey("grave", xtest::kAltMask));

    testing::internal::CaptureStderr();
    const bool registered = desktop_->RegisterHotKey(kHotkeyId, hotkey_mod::kAlt, vk::kOem3);
    const std::string diagnostics = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(registered);
    EXPECT_NE(diagnostics.find("Alt+` is already grabbed by another program"), std::string::npos)
        << diagnostics;

    // The grabs for the lock combinations were accepted before the refusal
    // was known; none may be left behind, so another client can take each.
    client_->UngrabKey("grave", xtest::kAltMask);
    for (const unsigned locks :
         {xtest::kLockMask, xtest::kMod2Mask, xtest::kLockMask | xtest::kMod2Mask}) {
        EXPECT_TRUE(client_->GrabKey("grave", xtest::kAltMask | locks)) << "locks " << locks;
        client_->UngrabKey("grave", xtest::kAltMask | locks);
    }

    // Free again: registering now works.
    EXPECT_TRUE(desktop_->RegisterHotKey(kHotkeyId, hotkey_mod::kAlt, vk::kOem3));
    EXPECT_EQ(Press("alt+grave"), kOneAltBacktick);
}

// Qt's xcb plugin installs its own, silent Xlib error handler after the
// backend has opened its display. The refusal must still be seen, and errors
// of other connections still reach the handler that replaced ours.
int silentHandlerCalls = 0;
int SilentHandler(Display*, XErrorEvent*) {
    ++silentHandlerCalls;
    return 0;
}

TEST_F(X11Hotkey, ARefusalIsSeenAfterAnotherLibraryReplacedTheErrorHandler) {
    ASSERT_TRUE(client_->GrabKey("grave", xtest::kAltMask));
    const XErrorHandler before = XSetErrorHandler(SilentHandler);
    silentHandlerCalls = 0;

    testing::internal::CaptureStderr();
    const bool registered = desktop_->RegisterHotKey(kHotkeyId, hotkey_mod::kAlt, vk::kOem3);
    const std::string diagnostics = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(registered);
    EXPECT_NE(diagnostics.find("already grabbed"), std::string::npos) << diagnostics;
    EXPECT_EQ(silentHandlerCalls, 0) << "the refusal went to the other library";

    // An error on a connection that is not the backend's goes on to it.
    XDestroyWindow(client_->Connection(), 0x1FFFFFFF);
    XSync(client_->Connection(), False);
    EXPECT_EQ(silentHandlerCalls, 1);

    XSetErrorHandler(before);
    client_->UngrabKey("grave", xtest::kAltMask);
}

// xdotool itself remaps a spare keycode around the keys it sends; a change
// that leaves our key where it was keeps the grab as it is, even while the
// hotkey is held down.
TEST_F(X11Hotkey, AKeyboardChangeElsewhereKeepsTheGrab) {
    ASSERT_TRUE(desktop_->RegisterHotKey(kHotkeyId, hotkey_mod::kAlt, vk::kOem3));
    ASSERT_EQ(server_->Run({"xset", "r", "rate", "100", "50"}).exitCode, 0);
    received_.clear();
    ASSERT_EQ(Xdotool({"keydown", "alt+grave"}), 0);
    RoundTrip();
    Pump(1, 200ms);

    testing::internal::CaptureStderr();
    const bool remapped = Remap({"keycode 250 = F20"});
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_TRUE(remapped);
    EXPECT_FALSE(client_->GrabKey("grave", xtest::kAltMask)) << "still held by the desktop";

    // The key repeats while held; it is still one press.
    Pump(2, 400ms);
    ASSERT_EQ(Xdotool({"keyup", "alt+grave"}), 0);
    RoundTrip();
    Pump(2, 50ms);
    EXPECT_EQ(received_, kOneAltBacktick);
    EXPECT_EQ(Press("alt+grave"), kOneAltBacktick);

    Remap({"keycode 250 ="});
    ASSERT_EQ(server_->Run({"xset", "r", "rate", "660", "25"}).exitCode, 0);
}

// The default hotkey is the physical key left of 1: giving that key another
// keysym leaves the grab where it is, and ` typed on another key is not it.
TEST_F(X11Hotkey, TheDefaultHotkeyStaysOnTheKeyLeftOf1WhateverItTypes) {
    ASSERT_TRUE(desktop_->RegisterHotKey(kHotkeyId, hotkey_mod::kAlt, vk::kOem3));
    const KeyCode tilde = XKeysymToKeycode(client_->Connection(), XK_grave);
    ASSERT_NE(tilde, 0);
    const std::string old = "keycode " + std::to_string(tilde);
    ASSERT_TRUE(Remap({old + " = F31", "keycode 250 = grave asciitilde"}));
    EXPECT_EQ(Press("alt+F31"), kOneAltBacktick) << "the key left of 1";
    EXPECT_EQ(Press("alt+grave"), kNothing) << "` on another key";
    EXPECT_FALSE(client_->GrabKey("F31", xtest::kAltMask)) << "still held by the desktop";

    ASSERT_TRUE(Remap({old + " = grave asciitilde", "keycode 250 ="}));
    EXPECT_EQ(Press("alt+grave"), kOneAltBacktick);
}

// Other keys are found by their keysym, as Windows finds them by the
// layout: moving the keysym to another keycode moves the grab.
TEST_F(X11Hotkey, MovingALetterToAnotherKeycodeMovesTheGrab) {
    ASSERT_TRUE(desktop_->RegisterHotKey(kHotkeyId, hotkey_mod::kAlt, 'K'));
    const KeyCode oldKeycode = XKeysymToKeycode(client_->Connection(), XK_k);
    ASSERT_NE(oldKeycode, 0);
    // k moves to keycode 250; its old key types a quote instead.
    const std::string old = "keycode " + std::to_string(oldKeycode);
    ASSERT_TRUE(Remap({old + " = apostrophe", "keycode 250 = k K"}));
    EXPECT_EQ(Press("alt+k"), kOneAltK);
    EXPECT_TRUE(client_->GrabKey("apostrophe", xtest::kAltMask)) << "the old key was released";
    client_->UngrabKey("apostrophe", xtest::kAltMask);

    ASSERT_TRUE(Remap({old + " = k K", "keycode 250 ="}));
    EXPECT_EQ(Press("alt+k"), kOneAltK);
}

// Key presses that come in behind a mapping change, before the backend has
// handled it, are judged by the new mapping: the old key, grabbed until the
// change is seen, is no longer the hotkey.
TEST_F(X11Hotkey, APressQueuedBehindAMappingChangeIsJudgedByTheNewMapping) {
    ASSERT_TRUE(desktop_->RegisterHotKey(kHotkeyId, hotkey_mod::kAlt, 'K'));
    const KeyCode oldKeycode = XKeysymToKeycode(client_->Connection(), XK_k);
    ASSERT_NE(oldKeycode, 0);
    const std::string old = "keycode " + std::to_string(oldKeycode);
    received_.clear();
    ASSERT_EQ(server_->Run({"xmodmap", "-e", old + " = F30", "-e", "keycode 250 = k"}).exitCode, 0);
    ASSERT_EQ(Xdotool({"key", "alt+F30"}), 0);
    RoundTrip();
    Pump(1, 50ms);
    EXPECT_EQ(received_, kNothing) << "the old key";
    EXPECT_EQ(Press("alt+k"), kOneAltK) << "the new key";

    ASSERT_TRUE(Remap({old + " = k K", "keycode 250 ="}));
    EXPECT_EQ(Press("alt+k"), kOneAltK);
}

// Taking the key away and giving it back: the hotkey works again once the
// key is back.
TEST_F(X11Hotkey, AKeymapWithoutTheKeyOnlyPausesTheHotkey) {
    ASSERT_TRUE(desktop_->RegisterHotKey(kHotkeyId, hotkey_mod::kAlt, 'K'));
    const std::string key =
        "keycode " + std::to_string(XKeysymToKeycode(client_->Connection(), XK_k));
    testing::internal::CaptureStderr();
    const bool removed = Remap({key + " = apostrophe"});
    const std::string diagnostics = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(removed);
    EXPECT_NE(diagnostics.find("Alt+K has no key"), std::string::npos) << diagnostics;
    EXPECT_TRUE(client_->GrabKey("apostrophe", xtest::kAltMask)) << "nothing is left grabbed";
    client_->UngrabKey("apostrophe", xtest::kAltMask);

    ASSERT_TRUE(Remap({key + " = k K"}));
    EXPECT_EQ(Press("alt+k"), kOneAltK);
    desktop_->UnregisterHotKey(kHotkeyId);
    EXPECT_EQ(Press("alt+k"), kNothing);
}

// A German or French keyboard types ^ or ² on the key left of 1, and no key
// types `: the hotkey is still that key (pressed by its keycode, which XKB
// names TLDE).
TEST_F(X11Hotkey, UnderAGermanOrFrenchLayoutTheHotkeyIsTheKeyLeftOf1) {
    const std::string tilde =
        std::to_string(XKeysymToKeycode(client_->Connection(), XK_grave)); // under us
    for (const char* layout : {"de", "fr"}) {
        ASSERT_EQ(server_->Run({"setxkbmap", layout}).exitCode, 0);
        RoundTrip();
        desktop_->DispatchEvents();
        EXPECT_TRUE(desktop_->RegisterHotKey(kHotkeyId, hotkey_mod::kAlt, vk::kOem3)) << layout;
        EXPECT_EQ(Press("alt+" + tilde), kOneAltBacktick) << layout;
        desktop_->UnregisterHotKey(kHotkeyId);
    }
    ASSERT_EQ(server_->Run({"setxkbmap", "us"}).exitCode, 0);
    RoundTrip();
    desktop_->DispatchEvents();
}

// Keys typed while the hotkey is held go to the program in front, not to
// the grab; the hotkey's press itself is still ours alone.
TEST_F(X11Hotkey, KeysTypedWhileTheHotkeyIsHeldGoToTheProgramInFront) {
    ASSERT_TRUE(desktop_->RegisterHotKey(kHotkeyId, hotkey_mod::kAlt, vk::kOem3));
    const xtest::XId window = client_->CreateWindow(xtest::PlacedRectangle(10, 10, 100, 100));
    ASSERT_NE(window, 0u);
    client_->TakeKeyboardFocus(window);
    client_->Sync();
    client_->TakeKeyPresses();

    received_.clear();
    ASSERT_EQ(Xdotool({"keydown", "alt+grave"}), 0);
    RoundTrip();
    Pump(1, 200ms);
    ASSERT_EQ(Xdotool({"key", "a", "b"}), 0);
    RoundTrip();
    Pump(2, 100ms);
    ASSERT_EQ(Xdotool({"keyup", "grave", "alt"}), 0);
    RoundTrip();
    Pump(2, 50ms);
    client_->Sync();
    EXPECT_EQ(received_, kOneAltBacktick);
    // Alt itself was pressed before the hotkey and reached the window then.
    EXPECT_EQ(client_->TakeKeyPresses(), 3) << "Alt, a and b";
    EXPECT_EQ(Press("alt+grave"), kOneAltBacktick) << "the next press counts again";
    EXPECT_EQ(client_->TakeKeyPresses(), 1) << "only Alt";
}

// The program may start under any layout, and the user switches later.
TEST_F(X11Hotkey, RegisteredUnderAnotherLayoutTheHotkeyWorksOnceUsIsSet) {
    for (const char* layout : {"fr", "de"}) {
        ASSERT_EQ(server_->Run({"setxkbmap", layout}).exitCode, 0);
        RoundTrip();
        desktop_->DispatchEvents();
        testing::internal::CaptureStderr();
        const bool registered = desktop_->RegisterHotKey(kHotkeyId, hotkey_mod::kAlt, vk::kOem3);
        testing::internal::GetCapturedStderr();
        EXPECT_TRUE(registered) << layout;
        ASSERT_EQ(server_->Run({"setxkbmap", "us"}).exitCode, 0);
        RoundTrip();
        desktop_->DispatchEvents();
        EXPECT_EQ(Press("alt+grave"), kOneAltBacktick) << "registered under " << layout;
        desktop_->UnregisterHotKey(kHotkeyId);
    }
}

TEST_F(X11Hotkey, NumLockMovedToAnotherModifierIsFollowed) {
    ASSERT_TRUE(desktop_->RegisterHotKey(kHotkeyId, hotkey_mod::kAlt, vk::kOem3));
    ASSERT_TRUE(Remap({"clear mod2", "add mod3 = Num_Lock"}));
    SetLock("Num Lock", "Num_Lock", true);
    EXPECT_EQ(Press("alt+grave"), kOneAltBacktick) << "NumLock on, now Mod3";
    SetLock("Num Lock", "Num_Lock", false);
    // The old NumLock bit is an ordinary modifier now.
    EXPECT_TRUE(client_->GrabKey("grave", xtest::kAltMask | xtest::kMod2Mask));
    client_->UngrabKey("grave", xtest::kAltMask | xtest::kMod2Mask);

    ASSERT_TRUE(Remap({"clear mod3", "add mod2 = Num_Lock"}));
    SetLock("Num Lock", "Num_Lock", true);
    EXPECT_EQ(Press("alt+grave"), kOneAltBacktick) << "NumLock on, Mod2 again";
}

TEST_F(X11Hotkey, ClosingTheDesktopReleasesItsGrabs) {
    ASSERT_TRUE(desktop_->RegisterHotKey(kHotkeyId, hotkey_mod::kAlt, vk::kOem3));
    EXPECT_FALSE(client_->GrabKey("grave", xtest::kAltMask)) << "held by the desktop";
    desktop_.reset();
    EXPECT_TRUE(client_->GrabKey("grave", xtest::kAltMask));
    EXPECT_TRUE(client_->GrabKey("grave", xtest::kAltMask | xtest::kLockMask | xtest::kMod2Mask));
    client_->UngrabKey("grave", xtest::kAltMask);
    client_->UngrabKey("grave", xtest::kAltMask | xtest::kLockMask | xtest::kMod2Mask);
}

TEST_F(X11Hotkey, KeysWithoutAKeycodeCannotBeRegistered) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(desktop_->RegisterHotKey(5, hotkey_mod::kAlt, 0x07));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("running without the hotkey"),
              std::string::npos);
}

} // namespace
} // namespace huegrab
