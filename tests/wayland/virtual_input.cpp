// SPDX-License-Identifier: GPL-3.0-or-later
// A pointer and a keyboard for a headless compositor whose seat has none:
// virtual ones (the wlroots virtual pointer and the virtual keyboard
// protocols) that a test moves, clicks and types with as with a mouse and
// a keyboard, so that clients get real input events through the compositor.
// Both stay from start to end: a client takes the seat's devices as it
// starts, and a keyboard gone leaves the seat with no keymap to send.
//
//   wayland_virtual_input WIDTH HEIGHT
//
// Commands, one a line on stdin:
//   move X Y   the pointer to X,Y of the WIDTH x HEIGHT layout
//   click      the left button pressed and released there
//   escape     the Esc key pressed and released
// "ready" on stdout once both devices exist, "ok" after each command once
// the compositor has handled it. The devices go when stdin ends.
#include "desktop/wayland/owned.h"
#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <linux/input-event-codes.h>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

namespace {

using huegrab::wayland::Owned;

using Display = Owned<wl_display, wl_display_disconnect>;
using Registry = Owned<wl_registry, wl_registry_destroy>;
using Seat = Owned<wl_seat, wl_seat_destroy>;
using PointerManager =
    Owned<zwlr_virtual_pointer_manager_v1, zwlr_virtual_pointer_manager_v1_destroy>;
using Pointer = Owned<zwlr_virtual_pointer_v1, zwlr_virtual_pointer_v1_destroy>;
using KeyboardManager =
    Owned<zwp_virtual_keyboard_manager_v1, zwp_virtual_keyboard_manager_v1_destroy>;
using Keyboard = Owned<zwp_virtual_keyboard_v1, zwp_virtual_keyboard_v1_destroy>;

// The one key the tests press, Esc (evdev code 1, XKB keycode 9); the
// compositor and its clients fill in the rest from their own XKB data.
constexpr std::string_view kKeymap = R"(xkb_keymap {
    xkb_keycodes "huegrab" { minimum = 8; maximum = 255; <ESC> = 9; };
    xkb_types "huegrab" { include "complete" };
    xkb_compatibility "huegrab" { include "complete" };
    xkb_symbols "huegrab" { key <ESC> { [ Escape ] }; };
};
)";

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int Get() const { return fd_; }

private:
    int fd_;
};

struct Globals {
    Seat seat;
    PointerManager pointers;
    KeyboardManager keyboards;
};

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t) {
    auto& globals = *static_cast<Globals*>(data);
    const auto bind = [&](const wl_interface& wanted) {
        return wl_registry_bind(registry, name, &wanted, 1);
    };
    if (!globals.seat && std::strcmp(interface, wl_seat_interface.name) == 0) {
        globals.seat.reset(static_cast<wl_seat*>(bind(wl_seat_interface)));
    } else if (!globals.pointers &&
               std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        globals.pointers.reset(static_cast<zwlr_virtual_pointer_manager_v1*>(
            bind(zwlr_virtual_pointer_manager_v1_interface)));
    } else if (!globals.keyboards &&
               std::strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0) {
        globals.keyboards.reset(static_cast<zwp_virtual_keyboard_manager_v1*>(
            bind(zwp_virtual_keyboard_manager_v1_interface)));
    }
}

void OnGlobalRemoved(void*, wl_registry*, std::uint32_t) {}

constexpr wl_registry_listener kListener{OnGlobal, OnGlobalRemoved};

std::uint32_t Milliseconds() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::optional<std::uint32_t> Number(const std::string& text) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The keymap as the protocol hands it over: a file, its text ending in NUL.
bool SendKeymap(zwp_virtual_keyboard_v1* keyboard) {
    const Fd file(::memfd_create("huegrab-keymap", MFD_CLOEXEC));
    const std::string text = std::string(kKeymap) + '\0';
    if (file.Get() < 0 ||
        ::write(file.Get(), text.data(), text.size()) != static_cast<ssize_t>(text.size()))
        return false;
    zwp_virtual_keyboard_v1_keymap(keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, file.Get(),
                                   static_cast<std::uint32_t>(text.size()));
    return true;
}

int Fail(const std::string& why) {
    std::cerr << "wayland_virtual_input: " << why << "\n";
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    const auto width = argc == 3 ? Number(argv[1]) : std::nullopt;
    const auto height = argc == 3 ? Number(argv[2]) : std::nullopt;
    if (!width || !height || *width == 0 || *height == 0)
        return Fail("usage: wayland_virtual_input WIDTH HEIGHT");
    const Display display(wl_display_connect(nullptr));
    if (!display)
        return Fail("cannot connect to the compositor");
    const Registry registry(wl_display_get_registry(display.get()));
    Globals globals;
    wl_registry_add_listener(registry.get(), &kListener, &globals);
    if (wl_display_roundtrip(display.get()) < 0)
        return Fail("the compositor went away");
    if (!globals.seat || !globals.pointers || !globals.keyboards)
        return Fail("the compositor offers no seat, no virtual pointers or no virtual keyboards");
    const Pointer pointer(zwlr_virtual_pointer_manager_v1_create_virtual_pointer(
        globals.pointers.get(), globals.seat.get()));
    const Keyboard keyboard(zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(
        globals.keyboards.get(), globals.seat.get()));
    if (!SendKeymap(keyboard.get()))
        return Fail("cannot write the keymap");
    if (wl_display_roundtrip(display.get()) < 0)
        return Fail("the compositor refused the devices");
    std::cout << "ready" << std::endl;

    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream words(line);
        std::string command, x, y;
        words >> command >> x >> y;
        if (command == "move" && Number(x) && Number(y)) {
            zwlr_virtual_pointer_v1_motion_absolute(pointer.get(), Milliseconds(), *Number(x),
                                                    *Number(y), *width, *height);
            zwlr_virtual_pointer_v1_frame(pointer.get());
        } else if (command == "click") {
            for (const auto state :
                 {WL_POINTER_BUTTON_STATE_PRESSED, WL_POINTER_BUTTON_STATE_RELEASED}) {
                zwlr_virtual_pointer_v1_button(pointer.get(), Milliseconds(), BTN_LEFT, state);
                zwlr_virtual_pointer_v1_frame(pointer.get());
            }
        } else if (command == "escape") {
            for (const auto state : {WL_KEYBOARD_KEY_STATE_PRESSED, WL_KEYBOARD_KEY_STATE_RELEASED})
                zwp_virtual_keyboard_v1_key(keyboard.get(), Milliseconds(), KEY_ESC, state);
        } else {
            return Fail("unknown command: " + line);
        }
        if (wl_display_roundtrip(display.get()) < 0)
            return Fail("the compositor went away");
        std::cout << "ok" << std::endl;
    }
    return 0;
}
