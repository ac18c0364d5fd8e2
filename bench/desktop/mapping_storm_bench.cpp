// SPDX-License-Identifier: GPL-3.0-or-later
// What a storm of keyboard mapping changes costs the X11 backend with the
// hotkey registered. xdotool types a character the keymap lacks by binding
// it to a spare keycode and clearing that again, two mapping changes per
// character; scripts typing such text send hundreds a second. Here a second
// client makes the same changes, a batch of them per iteration, and the
// backend takes the events they caused in one DispatchEvents() call, which
// alone is timed.

#include "desktop/x11/x11_desktop.h"
#include "tests/x11/support/x_connection.h"
#include "tests/x11/support/xvfb_server.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <benchmark/benchmark.h>

namespace huegrab {
namespace {

constexpr int kHotkeyId = 1001;
constexpr KeyCode kSpareKeycode = 8; // empty on Xvfb's keymap, the one xdotool takes

void BM_MappingStorm(benchmark::State& state) {
    const auto server = xtest::XvfbServer::Start({.width = 320, .height = 240});
    if (!server) {
        state.SkipWithError("Xvfb did not start");
        return;
    }
    const xtest::XConnection typist = xtest::OpenConnection(server->DisplayName());
    const auto desktop = X11Desktop::Open(server->DisplayName().c_str());
    if (!typist || !desktop || !desktop->RegisterHotKey(kHotkeyId, hotkey_mod::kAlt, vk::kOem3)) {
        state.SkipWithError("no connection or no hotkey");
        return;
    }
    const auto characters = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < characters; ++i) {
            KeySym bound = XK_eacute;
            KeySym cleared = NoSymbol;
            XChangeKeyboardMapping(typist.get(), kSpareKeycode, 1, &bound, 1);
            XChangeKeyboardMapping(typist.get(), kSpareKeycode, 1, &cleared, 1);
        }
        XSync(typist.get(), False);
        // A round trip on the backend's own connection brings every event
        // of the batch in before they are handled.
        desktop->GetCursorPos();
        state.ResumeTiming();
        desktop->DispatchEvents();
    }
    state.SetItemsProcessed(state.iterations() * characters);
}
BENCHMARK(BM_MappingStorm)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace huegrab
BENCHMARK_MAIN();
