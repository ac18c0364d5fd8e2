// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/tick_input.h"
#include "app/window_state.h"
#include "desktop/global_hotkeys.h"
#include "desktop/point_picking.h"
#include "desktop/pointer_and_keyboard.h"
#include "desktop/screen_pixels.h"
#include "sampling/sampling_tick.h"

#include <QTimer>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace huegrab {

class DesktopAbilities;
class Form1;
struct FormControls;

// Start/stop: the check box "启动／停止", its lamp and the sampling timer
// (Timer1), which this handler owns, and what each timer firing writes into
// the window. The arrow keys nudge only where the desktop can move the
// pointer, and a tick samples only where it can read the pointer.
//
// Where it cannot but lets the user click a point, switching on picks one
// point instead: the pick waits on a thread of its own (the window keeps
// repainting), one tick samples the clicked point, and the switch goes off.
class TrackingControls {
public:
    TrackingControls(Form1& form, PointerAndKeyboard& input, ScreenPixels& screen,
                     PointPicking& picking, WindowState& state, const DesktopAbilities& abilities);
    // Ends a pick still on and waits for its thread.
    ~TrackingControls();
    TrackingControls(const TrackingControls&) = delete;
    TrackingControls& operator=(const TrackingControls&) = delete;

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
    // A pick under way is ended, and its point dropped.
    void StopTicking();
    const QTimer& Timer() const { return timer_; }
    // Switching on picks one point by click instead of following the pointer.
    bool PicksByClick() const { return picksByClick_; }

private:
    void OnStartStopChanged(bool checked);
    void RunTickWith(PointerAndKeyboard& pointer);
    void StartPick();
    void FinishPick(std::optional<ScreenPoint> point);

    Form1& form_;
    const FormControls& controls_;
    TickInput input_;
    // The tick has a point to sample: the desktop tells where the pointer is.
    bool followsPointer_;
    PointPicking& picking_;
    bool picksByClick_;
    bool ticksStopped_ = false;
    ScreenPixels& screen_;
    WindowState& state_;
    std::vector<TickStep> laterSteps_;
    // Last, so it stops before anything a tick uses goes away. A finished
    // pick reports through it as well: a report still queued when it goes
    // is dropped with it.
    QTimer timer_;
    // The pick under way, if any; joined before the timer goes.
    std::thread pickThread_;
};

} // namespace huegrab
