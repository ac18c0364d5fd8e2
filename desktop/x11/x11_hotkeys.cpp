// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/x11/x11_hotkeys.h"

#include "desktop/hotkey_name.h"
#include "desktop/x11/x11_error_trap.h"
#include "desktop/x11/x11_key_map.h"
#include "desktop/x11/x11_resources.h"

#include <X11/keysym.h>
#include <algorithm>
#include <cstdio>

namespace huegrab::x11 {
namespace {

constexpr unsigned kKeyModifiers =
    ShiftMask | LockMask | ControlMask | Mod1Mask | Mod2Mask | Mod3Mask | Mod4Mask | Mod5Mask;

// The modifier bit (Mod2Mask, ...) whose keys include the one for keysym, 0
// when no modifier holds it.
unsigned ModifierMaskOf(Display* display, const XModifierKeymap& map, KeySym keysym) {
    const KeyCode keycode = XKeysymToKeycode(display, keysym);
    if (keycode == 0)
        return 0;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int k = 0; k < map.max_keypermod; ++k) {
            if (map.modifiermap[modifier * map.max_keypermod + k] == keycode)
                return 1u << modifier;
        }
    }
    return 0;
}

} // namespace

unsigned WindowsModifiersToMask(unsigned windowsModifiers) {
    unsigned mask = 0;
    if (windowsModifiers & hotkey_mod::kAlt)
        mask |= Mod1Mask;
    if (windowsModifiers & hotkey_mod::kControl)
        mask |= ControlMask;
    if (windowsModifiers & hotkey_mod::kShift)
        mask |= ShiftMask;
    if (windowsModifiers & hotkey_mod::kWin)
        mask |= Mod4Mask;
    return mask;
}

unsigned MaskToWindowsModifiers(unsigned state) {
    unsigned modifiers = 0;
    if (state & Mod1Mask)
        modifiers |= hotkey_mod::kAlt;
    if (state & ControlMask)
        modifiers |= hotkey_mod::kControl;
    if (state & ShiftMask)
        modifiers |= hotkey_mod::kShift;
    if (state & Mod4Mask)
        modifiers |= hotkey_mod::kWin;
    return modifiers;
}

HotkeyGrabs::HotkeyGrabs(Display* display) : display_(display), locks_(ReadLockMasks()) {
    for (int screen = 0; screen < ScreenCount(display_); ++screen)
        roots_.push_back(RootWindow(display_, screen));
}

HotkeyGrabs::~HotkeyGrabs() {
    for (const Registration& registration : registrations_)
        Ungrab(registration);
    XFlush(display_);
}

HotkeyGrabs::LockMasks HotkeyGrabs::ReadLockMasks() const {
    ModifierKeymapPtr map(XGetModifierMapping(display_));
    if (!map)
        return {};
    return {ModifierMaskOf(display_, *map, XK_Num_Lock),
            ModifierMaskOf(display_, *map, XK_Scroll_Lock)};
}

std::vector<unsigned> HotkeyGrabs::LockCombinations(const LockMasks& masks) {
    std::vector<unsigned> locks{LockMask};
    for (const unsigned mask : {masks.numLock, masks.scrollLock}) {
        if (mask != 0 && std::find(locks.begin(), locks.end(), mask) == locks.end())
            locks.push_back(mask);
    }
    std::vector<unsigned> combinations;
    for (unsigned subset = 0; subset < (1u << locks.size()); ++subset) {
        unsigned combination = 0;
        for (std::size_t i = 0; i < locks.size(); ++i) {
            if (subset & (1u << i))
                combination |= locks[i];
        }
        combinations.push_back(combination);
    }
    return combinations;
}

unsigned HotkeyGrabs::RelevantModifiers(unsigned state) const {
    return state & kKeyModifiers & ~(LockMask | locks_.numLock | locks_.scrollLock);
}

bool HotkeyGrabs::Grab(const Registration& registration) {
    XErrorTrap trap(display_);
    for (const Window root : roots_) {
        for (const unsigned locks : LockCombinations(registration.locks)) {
            // The keyboard half is synchronous: while the hotkey is held,
            // the grab sees each further key first and hands it on to the
            // program in front (ReplayKeyboard in OnKeyPress).
            XGrabKey(display_, registration.keycode, registration.modifierMask | locks, root, False,
                     GrabModeAsync, GrabModeSync);
        }
    }
    if (trap.Sync() == 0)
        return true;
    // Some combinations may have been grabbed before one was refused:
    // release them all, a hotkey that works only with some locks is worse
    // than none.
    Ungrab(registration);
    XSync(display_, False);
    return false;
}

void HotkeyGrabs::Ungrab(const Registration& registration) {
    if (registration.keycode == 0)
        return; // nothing grabbed; keycode 0 would release every key (AnyKey)
    XErrorTrap trap(display_);
    if (registration.held) // a grab the press started, the keyboard frozen in it
        XUngrabKeyboard(display_, CurrentTime);
    for (const Window root : roots_) {
        for (const unsigned locks : LockCombinations(registration.locks))
            XUngrabKey(display_, registration.keycode, registration.modifierMask | locks, root);
    }
    trap.Sync();
}

bool HotkeyGrabs::Register(int id, unsigned windowsModifiers, int virtualKey) {
    Unregister(id);
    Registration registration;
    registration.id = id;
    registration.windowsModifiers = windowsModifiers;
    registration.virtualKey = virtualKey;
    registration.modifierMask = WindowsModifiersToMask(windowsModifiers);
    registration.locks = locks_;
    const std::string name = HotkeyName(windowsModifiers, virtualKey);
    if (KeysymForVirtualKey(virtualKey) == 0) {
        std::fprintf(stderr,
                     "huegrab: %s has no key on this keyboard; running without the hotkey\n",
                     name.c_str());
        return false;
    }
    registration.keycode = HotkeyKeycode(display_, virtualKey);
    for (const Registration& other : registrations_) {
        if (other.modifierMask == registration.modifierMask &&
            (other.virtualKey == virtualKey ||
             (other.keycode != 0 && other.keycode == registration.keycode)))
            return false;
    }
    if (registration.keycode == 0) {
        // Started under a layout without the key (setxkbmap de): it waits,
        // grabbing nothing, as after a keyboard change, for a layout with it.
        std::fprintf(stderr,
                     "huegrab: %s has no key on this keyboard now; it works again once a layout "
                     "with the key is back\n",
                     name.c_str());
        registrations_.push_back(registration);
        return true;
    }
    if (!Grab(registration)) {
        std::fprintf(stderr,
                     "huegrab: %s is already grabbed by another program; running without the "
                     "hotkey\n",
                     name.c_str());
        return false;
    }
    registrations_.push_back(registration);
    return true;
}

void HotkeyGrabs::Unregister(int id) {
    const auto found = std::find_if(registrations_.begin(), registrations_.end(),
                                    [id](const Registration& r) { return r.id == id; });
    if (found == registrations_.end())
        return;
    Ungrab(*found);
    registrations_.erase(found);
}

void HotkeyGrabs::RefreshMapping() {
    // Tools such as xdotool remap a spare keycode around every key they
    // send. Such changes leave our keys alone, and the grabs stay: releasing
    // them even briefly would let another client take the combination.
    const LockMasks locks = ReadLockMasks();
    bool moved = locks != locks_;
    std::vector<KeyCode> keycodes;
    for (const Registration& registration : registrations_) {
        keycodes.push_back(HotkeyKeycode(display_, registration.virtualKey));
        moved = moved || keycodes.back() != registration.keycode;
    }
    if (!moved)
        return;

    locks_ = locks;
    for (const Registration& registration : registrations_)
        Ungrab(registration);
    std::vector<Registration> kept;
    for (std::size_t i = 0; i < registrations_.size(); ++i) {
        Registration registration = registrations_[i];
        registration.keycode = keycodes[i];
        registration.locks = locks_;
        registration.held = false;
        const std::string name = HotkeyName(registration.windowsModifiers, registration.virtualKey);
        if (registration.keycode == 0) {
            // A layout without the key (setxkbmap de): the registration
            // waits, grabbing nothing, for a keymap that has the key again.
            if (registrations_[i].keycode != 0)
                std::fprintf(stderr,
                             "huegrab: %s has no key on this keyboard now; it works again "
                             "once a layout with the key is back\n",
                             name.c_str());
            kept.push_back(registration);
        } else if (Grab(registration)) {
            kept.push_back(registration);
        } else {
            std::fprintf(stderr, "huegrab: lost the hotkey %s after a keyboard change\n",
                         name.c_str());
        }
    }
    registrations_ = std::move(kept);
}

std::optional<std::size_t> HotkeyGrabs::Find(unsigned keycode, unsigned state) const {
    const unsigned modifiers = RelevantModifiers(state);
    for (std::size_t i = 0; i < registrations_.size(); ++i) {
        if (registrations_[i].keycode != 0 && registrations_[i].keycode == keycode &&
            registrations_[i].modifierMask == modifiers)
            return i;
    }
    return std::nullopt;
}

HotkeyPress HotkeyGrabs::PressOf(const Registration& registration, unsigned state) {
    return HotkeyPress{registration.id, MaskToWindowsModifiers(state), registration.virtualKey};
}

void HotkeyGrabs::Continue() {
    // Let the keyboard go on to its next event, which comes to us again
    // while the grab lasts; without a grab the server ignores this.
    XAllowEvents(display_, SyncKeyboard, CurrentTime);
    XFlush(display_);
}

std::optional<HotkeyPress> HotkeyGrabs::OnKeyPress(const XKeyEvent& event) {
    const std::optional<std::size_t> found = Find(event.keycode, event.state);
    if (!found) {
        // Another key typed while the hotkey is held: the grab ends and the
        // press goes to the program in front, as if there were no hotkey.
        // That key now repeats instead of ours, so the next press of ours
        // is a new one.
        XAllowEvents(display_, ReplayKeyboard, CurrentTime);
        XFlush(display_);
        for (Registration& registration : registrations_)
            registration.held = false;
        return std::nullopt;
    }
    Registration& registration = registrations_[*found];
    Continue();
    if (registration.held)
        return std::nullopt; // auto-repeat of a key still down
    registration.held = true;
    return PressOf(registration, event.state);
}

std::optional<HotkeyPress> HotkeyGrabs::PressFor(unsigned keycode, unsigned state) const {
    const std::optional<std::size_t> found = Find(keycode, state);
    if (!found)
        return std::nullopt;
    return PressOf(registrations_[*found], state);
}

void HotkeyGrabs::OnKeyRelease(const XKeyEvent& event, bool autoRepeat) {
    Continue();
    if (autoRepeat)
        return;
    for (Registration& registration : registrations_) {
        if (registration.keycode == event.keycode)
            registration.held = false;
    }
}

} // namespace huegrab::x11
