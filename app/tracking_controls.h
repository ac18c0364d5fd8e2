// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/tick_input.h"
#include "app/window_state.h"
#include "desktop/global_hotkeys.h"
#include "desktop/pointer_and_keyboard.h"
#include "desktop/screen_pixels.h"
#include "sampling/sampling_tick.h"

#include <QTimer>
#include <functional>
#include <vector>

namespace huegrab {

class DesktopAbilities;
class Form1;
struct FormControls;

// Start/stop: the check box "启动／停止", its lamp and the sampling timer
// (Timer1), which this handler owns, and what each timer firing writes into
// the window. The arrow keys nudge only where the desktop can move the
// pointer, and a tick samples only where it can read the pointer.
class TrackingControls {
public:
    TrackingControls(Form1& form, PointerAndKeyboard& input, ScreenPixels& screen,
                     WindowState& state, const DesktopAbilities& abilities);

    // A hotkey press sets the check box; its handler does the rest.
    void HandleHotkey(const HotkeyPress& press);
    // One timer firing. Without a position to sample at it writes nothing:
    // the readouts keep what they show.
    void RunTick();
    // A step that runs at the end of every tick, after the magnifier, with
    // what the tick read.
    using TickStep = std::function<void(const TickResult&)>;
    void AddTickStep(TickStep step);
    // Stops the timer alone, leaving the switch, lamp and state as they are:
    // the first step of shutdown, so no tick runs while values are stored.
    void StopTicking();
    const QTimer& Timer() const { return timer_; }

private:
    void OnStartStopChanged(bool checked);

    Form1& form_;
    const FormControls& controls_;
    TickInput input_;
    // The tick has a point to sample: the desktop tells where the pointer is.
    bool followsPointer_;
    ScreenPixels& screen_;
    WindowState& state_;
    std::vector<TickStep> laterSteps_;
    // Last, so it stops before anything a tick uses goes away.
    QTimer timer_;
};

} // namespace huegrab
