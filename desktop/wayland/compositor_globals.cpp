// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/wayland/compositor_globals.h"

#include <cstdint>
#include <memory>
#include <wayland-client.h>

namespace huegrab::wayland {
namespace {

struct DisplayDisconnect {
    void operator()(wl_display* display) const { wl_display_disconnect(display); }
};
struct RegistryDestroy {
    void operator()(wl_registry* registry) const { wl_registry_destroy(registry); }
};

struct Search {
    std::string_view interface;
    bool found = false;
};

void OnGlobal(void* data, wl_registry*, std::uint32_t, const char* interface, std::uint32_t) {
    auto* search = static_cast<Search*>(data);
    search->found = search->found || search->interface == interface;
}

void OnGlobalRemoved(void*, wl_registry*, std::uint32_t) {}

constexpr wl_registry_listener kListener{OnGlobal, OnGlobalRemoved};

} // namespace

bool CompositorOffers(std::string_view interface) {
    const std::unique_ptr<wl_display, DisplayDisconnect> display(wl_display_connect(nullptr));
    if (!display)
        return false;
    const std::unique_ptr<wl_registry, RegistryDestroy> registry(
        wl_display_get_registry(display.get()));
    if (!registry)
        return false;
    Search search{interface};
    wl_registry_add_listener(registry.get(), &kListener, &search);
    // The globals are announced in answer to the registry request.
    if (wl_display_roundtrip(display.get()) < 0)
        return false;
    return search.found;
}

} // namespace huegrab::wayland
