// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

struct _XDisplay;

namespace huegrab::x11 {

// The X keysym for a Windows virtual-key code, 0 for a key this backend does
// not map. Covers the keys the program reads (arrows, the ` key) and the
// plain letters, digits, function and navigation keys.
unsigned long KeysymForVirtualKey(int virtualKey);

} // namespace huegrab::x11

namespace huegrab::x11 {

// The keycode a hotkey on this Windows virtual key grabs; 0 when the keyboard
// has no such key now. VK_OEM_3 is the physical key left of 1, the one XKB
// names TLDE, whatever the layout puts on it (` on a US, ^ on a German, ²
// on a French keyboard); a keymap without XKB names falls back to the key
// that types `. Other keys are found by their keysym, as Windows finds them
// by the layout.
unsigned char HotkeyKeycode(_XDisplay* display, int virtualKey);

// The keycode XKB names `name` (four characters at most: "TLDE", "AE01");
// 0 when no key has that name or the server has no XKB.
unsigned char KeycodeNamed(_XDisplay* display, const char* name);

} // namespace huegrab::x11
