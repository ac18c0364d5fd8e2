// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/wayland/compositor_globals.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>
#include <wayland-client.h>

namespace huegrab::wayland {
namespace {

struct DisplayDisconnect {
    void operator()(wl_display* display) const { wl_display_disconnect(display); }
};
struct RegistryDestroy {
    void operator()(wl_registry* registry) const { wl_registry_destroy(registry); }
};
struct OutputDestroy {
    void operator()(wl_output* output) const { wl_output_destroy(output); }
};

struct Reading {
    CompositorGlobals globals;
    std::vector<std::unique_ptr<wl_output, OutputDestroy>> outputs;
};

void OnGeometry(void*, wl_output*, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                std::int32_t, const char*, const char*, std::int32_t) {}
void OnMode(void*, wl_output*, std::uint32_t, std::int32_t, std::int32_t, std::int32_t) {}
void OnDone(void*, wl_output*) {}
void OnScale(void* data, wl_output*, std::int32_t factor) {
    static_cast<Reading*>(data)->globals.scaledOutput |= factor != 1;
}
void OnName(void*, wl_output*, const char*) {}
void OnDescription(void*, wl_output*, const char*) {}

constexpr wl_output_listener kOutputListener{OnGeometry, OnMode, OnDone,
                                             OnScale,    OnName, OnDescription};

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t version) {
    auto* reading = static_cast<Reading*>(data);
    reading->globals.interfaces.emplace(interface);
    // Version 2 brings the scale.
    if (std::string_view(interface) == wl_output_interface.name && version >= 2) {
        auto* output =
            static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, 2));
        reading->outputs.emplace_back(output);
        wl_output_add_listener(output, &kOutputListener, reading);
    }
}

void OnGlobalRemoved(void*, wl_registry*, std::uint32_t) {}

constexpr wl_registry_listener kListener{OnGlobal, OnGlobalRemoved};

} // namespace

std::optional<CompositorGlobals> ReadCompositorGlobals() {
    const std::unique_ptr<wl_display, DisplayDisconnect> display(wl_display_connect(nullptr));
    if (!display)
        return std::nullopt;
    const std::unique_ptr<wl_registry, RegistryDestroy> registry(
        wl_display_get_registry(display.get()));
    if (!registry)
        return std::nullopt;
    Reading reading;
    wl_registry_add_listener(registry.get(), &kListener, &reading);
    // The globals come in answer to the registry request, each output's
    // facts in answer to its binding.
    if (wl_display_roundtrip(display.get()) < 0 || wl_display_roundtrip(display.get()) < 0)
        return std::nullopt;
    return std::move(reading.globals);
}

} // namespace huegrab::wayland
