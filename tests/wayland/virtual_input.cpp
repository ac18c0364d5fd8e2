// SPDX-License-Identifier: GPL-3.0-or-later
// A pointer for a headless compositor whose seat has none: a virtual
// pointer (wlr-virtual-pointer) that a test moves and clicks as a mouse
// would, so that clients get real pointer events through the compositor.
//
//   wayland_virtual_pointer WIDTH HEIGHT
//
// Commands, one a line on stdin:
//   move X Y   the pointer to X,Y of the WIDTH x HEIGHT layout
//   click      the left button pressed and released there
// "ready" on stdout once the pointer exists, "ok" after each command once
// the compositor has handled it. The pointer goes when stdin ends.
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <linux/input-event-codes.h>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <wayland-client.h>

namespace {

template <class T, void (*Destroy)(T*)> struct Deleter {
    void operator()(T* object) const { Destroy(object); }
};
template <class T, void (*Destroy)(T*)> using Owned = std::unique_ptr<T, Deleter<T, Destroy>>;

using Display = Owned<wl_display, wl_display_disconnect>;
using Registry = Owned<wl_registry, wl_registry_destroy>;
using Seat = Owned<wl_seat, wl_seat_destroy>;
using Manager = Owned<zwlr_virtual_pointer_manager_v1, zwlr_virtual_pointer_manager_v1_destroy>;
using Pointer = Owned<zwlr_virtual_pointer_v1, zwlr_virtual_pointer_v1_destroy>;

struct Globals {
    Seat seat;
    Manager manager;
};

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t) {
    auto& globals = *static_cast<Globals*>(data);
    if (!globals.seat && std::strcmp(interface, wl_seat_interface.name) == 0) {
        globals.seat.reset(
            static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1)));
    } else if (!globals.manager &&
               std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        globals.manager.reset(static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1)));
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

int Fail(const std::string& why) {
    std::cerr << "wayland_virtual_pointer: " << why << "\n";
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    const auto width = argc == 3 ? Number(argv[1]) : std::nullopt;
    const auto height = argc == 3 ? Number(argv[2]) : std::nullopt;
    if (!width || !height || *width == 0 || *height == 0)
        return Fail("usage: wayland_virtual_pointer WIDTH HEIGHT");
    const Display display(wl_display_connect(nullptr));
    if (!display)
        return Fail("cannot connect to the compositor");
    const Registry registry(wl_display_get_registry(display.get()));
    Globals globals;
    wl_registry_add_listener(registry.get(), &kListener, &globals);
    if (wl_display_roundtrip(display.get()) < 0)
        return Fail("the compositor went away");
    if (!globals.seat || !globals.manager)
        return Fail("the compositor offers no seat or no zwlr_virtual_pointer_manager_v1");
    const Pointer pointer(zwlr_virtual_pointer_manager_v1_create_virtual_pointer(
        globals.manager.get(), globals.seat.get()));
    if (wl_display_roundtrip(display.get()) < 0)
        return Fail("the compositor refused the pointer");
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
        } else {
            return Fail("unknown command: " + line);
        }
        if (wl_display_roundtrip(display.get()) < 0)
            return Fail("the compositor went away");
        std::cout << "ok" << std::endl;
    }
    return 0;
}
