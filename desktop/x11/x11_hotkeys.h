// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/global_hotkeys.h"

#include <X11/Xlib.h>
#include <optional>
#include <vector>

namespace huegrab::x11 {

// Global hotkeys as passive key grabs on the root window of every screen of
// the display: with the pointer on another screen, keys go to that screen's
// windows. X compares the whole modifier state, so every grab is repeated
// for each combination of the lock keys (CapsLock, NumLock, ScrollLock) to
// work whatever their state.
class HotkeyGrabs {
public:
    explicit HotkeyGrabs(Display* display);
    ~HotkeyGrabs();
    HotkeyGrabs(const HotkeyGrabs&) = delete;
    HotkeyGrabs& operator=(const HotkeyGrabs&) = delete;

    // False when the key is not one this backend maps, the combination is
    // registered under another id, or another client grabs it already (said
    // on stderr). A key the current layout lacks is registered and grabbed
    // once a mapping has it.
    bool Register(int id, unsigned windowsModifiers, int virtualKey);
    void Unregister(int id);

    // After a keyboard or modifier mapping change: when it moved a
    // registered key or a lock modifier, grab again with the new keycodes
    // and lock masks; otherwise the grabs stay as they are. A key the new
    // mapping lacks stays registered, ungrabbed, until a mapping has it.
    void RefreshMapping();

    // The press of a registered combination. A key held down gives one
    // press: repeats before its release are dropped. Key events reach this
    // connection only through the grabs, which freeze the keyboard at each
    // event until it is handled here: any other key pressed while the
    // hotkey is held is handed back to the program in front, so keys typed
    // with the hotkey down are not lost.
    std::optional<HotkeyPress> OnKeyPress(const XKeyEvent& event);
    // autoRepeat: the release half of an auto-repeat release/press pair.
    void OnKeyRelease(const XKeyEvent& event, bool autoRepeat = false);
    // The press of a registered combination that another connection of the
    // program received; no repeat is tracked here.
    std::optional<HotkeyPress> PressFor(unsigned keycode, unsigned state) const;

private:
    // The modifier bits NumLock and ScrollLock are mapped to (0: none).
    struct LockMasks {
        unsigned numLock = 0;
        unsigned scrollLock = 0;
        bool operator==(const LockMasks&) const = default;
    };
    struct Registration {
        int id = 0;
        unsigned windowsModifiers = 0;
        int virtualKey = 0;
        KeyCode keycode = 0; // 0: the key is not on the keyboard now, nothing grabbed
        unsigned modifierMask = 0;
        LockMasks locks; // those its grabs were made with
        bool held = false;
    };

    LockMasks ReadLockMasks() const;
    void Continue();
    static std::vector<unsigned> LockCombinations(const LockMasks& masks);
    bool Grab(const Registration& registration);
    void Ungrab(const Registration& registration);
    unsigned RelevantModifiers(unsigned state) const;
    // The registration a key event with this keycode and state stands for.
    std::optional<std::size_t> Find(unsigned keycode, unsigned state) const;
    static HotkeyPress PressOf(const Registration& registration, unsigned state);

    Display* display_;
    std::vector<Window> roots_;
    LockMasks locks_;
    std::vector<Registration> registrations_;
};

// Windows hotkey modifier flags to an X modifier mask and back.
unsigned WindowsModifiersToMask(unsigned windowsModifiers);
unsigned MaskToWindowsModifiers(unsigned state);

} // namespace huegrab::x11
