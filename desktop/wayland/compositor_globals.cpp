// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/wayland/compositor_globals.h"

#include "desktop/wayland/owned.h"
#include "xdg-output-unstable-v1-client-protocol.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>
#include <wayland-client.h>

namespace huegrab::wayland {
namespace {

using Display = Owned<wl_display, wl_display_disconnect>;
using Registry = Owned<wl_registry, wl_registry_destroy>;
using Output = Owned<wl_output, wl_output_destroy>;
using OutputManager = Owned<zxdg_output_manager_v1, zxdg_output_manager_v1_destroy>;
using LayoutOutput = Owned<zxdg_output_v1, zxdg_output_v1_destroy>;

struct Reading {
    CompositorGlobals globals;
    std::vector<Output> outputs;
    OutputManager manager;
    std::vector<LayoutOutput> layoutOutputs;
    std::optional<ScreenPoint> origin; // the least x and y of the outputs seen
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

// An output's place in the layout: wl_output's own position is 0,0 on
// wlroots; xdg-output has the real one.
void OnLogicalPosition(void* data, zxdg_output_v1*, std::int32_t x, std::int32_t y) {
    auto& origin = static_cast<Reading*>(data)->origin;
    origin =
        origin ? ScreenPoint{std::min(origin->x, x), std::min(origin->y, y)} : ScreenPoint{x, y};
}
void OnLogicalSize(void*, zxdg_output_v1*, std::int32_t, std::int32_t) {}
void OnLayoutDone(void*, zxdg_output_v1*) {}
void OnLayoutName(void*, zxdg_output_v1*, const char*) {}
void OnLayoutDescription(void*, zxdg_output_v1*, const char*) {}

constexpr zxdg_output_v1_listener kLayoutListener{OnLogicalPosition, OnLogicalSize, OnLayoutDone,
                                                  OnLayoutName, OnLayoutDescription};

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t version) {
    auto* reading = static_cast<Reading*>(data);
    reading->globals.interfaces.emplace(interface);
    const std::string_view announced = interface;
    // Version 2 brings the scale.
    if (announced == wl_output_interface.name && version >= 2) {
        auto* output =
            static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, 2));
        reading->outputs.emplace_back(output);
        wl_output_add_listener(output, &kOutputListener, reading);
    } else if (announced == zxdg_output_manager_v1_interface.name && !reading->manager) {
        reading->manager.reset(static_cast<zxdg_output_manager_v1*>(
            wl_registry_bind(registry, name, &zxdg_output_manager_v1_interface, 1)));
    }
}

void OnGlobalRemoved(void*, wl_registry*, std::uint32_t) {}

constexpr wl_registry_listener kListener{OnGlobal, OnGlobalRemoved};

} // namespace

std::optional<CompositorGlobals> ReadCompositorGlobals() {
    const Display display(wl_display_connect(nullptr));
    if (!display)
        return std::nullopt;
    const Registry registry(wl_display_get_registry(display.get()));
    if (!registry)
        return std::nullopt;
    Reading reading;
    wl_registry_add_listener(registry.get(), &kListener, &reading);
    // The globals come in answer to the registry request; each output's
    // facts in answer to its binding and to its layout object, asked for
    // once both the outputs and their manager are known.
    if (wl_display_roundtrip(display.get()) < 0)
        return std::nullopt;
    if (reading.manager) {
        for (const Output& output : reading.outputs) {
            reading.layoutOutputs.emplace_back(
                zxdg_output_manager_v1_get_xdg_output(reading.manager.get(), output.get()));
            zxdg_output_v1_add_listener(reading.layoutOutputs.back().get(), &kLayoutListener,
                                        &reading);
        }
    }
    if (wl_display_roundtrip(display.get()) < 0)
        return std::nullopt;
    reading.globals.layoutOrigin = reading.origin.value_or(ScreenPoint{});
    return std::move(reading.globals);
}

} // namespace huegrab::wayland
