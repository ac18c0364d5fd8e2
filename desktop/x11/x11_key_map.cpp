// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/x11/x11_key_map.h"

#include "desktop/pointer_and_keyboard.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>
#include <cstring>
#include <memory>

namespace huegrab::x11 {

unsigned long KeysymForVirtualKey(int virtualKey) {
    if (virtualKey >= '0' && virtualKey <= '9')
        return XK_0 + static_cast<unsigned long>(virtualKey - '0');
    if (virtualKey >= 'A' && virtualKey <= 'Z')
        return XK_a + static_cast<unsigned long>(virtualKey - 'A');
    if (virtualKey >= 0x70 && virtualKey <= 0x87) // VK_F1 ... VK_F24
        return XK_F1 + static_cast<unsigned long>(virtualKey - 0x70);
    switch (virtualKey) {
    case 0x08:
        return XK_BackSpace;
    case 0x09:
        return XK_Tab;
    case 0x0D:
        return XK_Return;
    case 0x1B:
        return XK_Escape;
    case 0x20:
        return XK_space;
    case 0x21:
        return XK_Prior;
    case 0x22:
        return XK_Next;
    case 0x23:
        return XK_End;
    case 0x24:
        return XK_Home;
    case vk::kLeft:
        return XK_Left;
    case vk::kUp:
        return XK_Up;
    case vk::kRight:
        return XK_Right;
    case vk::kDown:
        return XK_Down;
    case 0x2D:
        return XK_Insert;
    case 0x2E:
        return XK_Delete;
    case vk::kOem3:
        return XK_grave;
    default:
        return 0;
    }
}

} // namespace huegrab::x11

namespace huegrab::x11 {
namespace {

struct KeyboardDeleter {
    void operator()(XkbDescPtr keyboard) const { XkbFreeKeyboard(keyboard, 0, True); }
};

} // namespace

KeyCode KeycodeNamed(Display* display, const char* name) {
    std::unique_ptr<XkbDescRec, KeyboardDeleter> keyboard(XkbGetMap(display, 0, XkbUseCoreKbd));
    if (!keyboard || XkbGetNames(display, XkbKeyNamesMask, keyboard.get()) != Success ||
        !keyboard->names || !keyboard->names->keys)
        return 0;
    for (int keycode = keyboard->min_key_code; keycode <= keyboard->max_key_code; ++keycode) {
        // Key names are four bytes, not terminated when all four are used.
        if (std::strncmp(keyboard->names->keys[keycode].name, name, XkbKeyNameLength) == 0)
            return static_cast<KeyCode>(keycode);
    }
    return 0;
}

KeyCode HotkeyKeycode(Display* display, int virtualKey) {
    if (virtualKey == vk::kOem3) {
        if (const KeyCode keycode = KeycodeNamed(display, "TLDE"))
            return keycode;
    }
    const unsigned long keysym = KeysymForVirtualKey(virtualKey);
    return keysym != 0 ? XKeysymToKeycode(display, keysym) : 0;
}

} // namespace huegrab::x11
