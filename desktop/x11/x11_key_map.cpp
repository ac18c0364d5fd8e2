#include "desktop/x11/x11_key_map.h"

#include "desktop/pointer_and_keyboard.h"

#include <X11/keysym.h>

namespace huegrab::x11 {

unsigned long KeysymForVirtualKey(int virtualKey) {
    if (virtualKey >= '0' && virtualKey <= '9')
        return XK_0 + static_cast<unsigned long>(virtualKey - '0');
    if (virtualKey >= 'A' && virtualKey <= 'Z')
        return XK_a + static_cast<unsigned long>(virtualKey - 'A');
    if (virtualKey >= 0x70 && virtualKey <= 0x7B) // VK_F1 ... VK_F12
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
