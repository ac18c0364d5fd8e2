// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tracking_controls.h"

#include "app/color_fields.h"
#include "app/desktop_abilities.h"
#include "app/form/clickable_label.h"
#include "app/form/form1.h"
#include "app/form/form_colors.h"
#include "app/form/magnifier_grid.h"
#include "sampling/sampling_tick.h"
#include "sampling/tracking_switch.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <system_error>

namespace huegrab {

namespace {
constexpr ColorValue kLampRunning = 0x0000FF; // red
constexpr ColorValue kLampStopped = 0x00FF00; // green
} // namespace

TrackingControls::TrackingControls(Form1& form, PointerAndKeyboard& input, ScreenPixels& screen,
                                   PointPicking& picking, WindowState& state,
                                   const DesktopAbilities& abilities)
    : form_(form), controls_(form.Controls()),
      input_(input, abilities.Offers(DesktopAbility::MovePointer)),
      followsPointer_(abilities.Offers(DesktopAbility::ReadPointer)), picking_(picking),
      // Asked here, on the window's thread, so the picking thread finds the
      // answer settled.
      picksByClick_(!followsPointer_ && picking.PicksPointsByClick()), screen_(screen),
      state_(state) {
    QObject::connect(controls_.tracking.startStop, &QCheckBox::toggled, &form_,
                     [this](bool checked) { OnStartStopChanged(checked); });
    timer_.setObjectName(QStringLiteral("Timer1"));
    timer_.setInterval(kTickIntervalMs);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { RunTick(); });
}

TrackingControls::~TrackingControls() {
    if (pickThread_.joinable()) {
        picking_.EndPicking();
        pickThread_.join();
    }
}

void TrackingControls::AddTickStep(TickStep step) {
    laterSteps_.push_back(std::move(step));
}

void TrackingControls::StopTicking() {
    timer_.stop();
    ticksStopped_ = true; // nor does a pick that ends later write
    if (pickThread_.joinable())
        picking_.EndPicking(); // the window is closing: no one waits for the click
}

void TrackingControls::OnStartStopChanged(bool checked) {
    if (checked && picksByClick_) {
        SetBackColor(controls_.tracking.lamp, kLampRunning);
        state_.trackingState = TrackingState::Running;
        StartPick();
    } else if (checked) {
        SetBackColor(controls_.tracking.lamp, kLampRunning);
        timer_.stop(); // a fresh period: the first tick comes a full interval later
        timer_.start();
        state_.trackingState = TrackingState::Running;
    } else {
        SetBackColor(controls_.tracking.lamp, kLampStopped);
        timer_.stop();
        state_.trackingState = TrackingState::Stopped;
    }
}

void TrackingControls::HandleHotkey(const HotkeyPress& press) {
    const std::optional<bool> check =
        StartStopAfterHotkey(press, state_.trackingState, state_.hotkey);
    if (check)
        controls_.tracking.startStop->setChecked(*check);
}

void TrackingControls::StartPick() {
    // Switched off and on again while the user still picks: that pick stays
    // the one, and its point is shown since the switch is on again.
    if (pickThread_.joinable())
        return;
    try {
        pickThread_ = std::thread([this] {
            std::string whyNot;
            const std::optional<ScreenPoint> point = picking_.PickPointByClick(whyNot);
            QMetaObject::invokeMethod(
                &timer_, [this, point] { FinishPick(point); }, Qt::QueuedConnection);
        });
    } catch (const std::system_error&) {
        // No thread to wait on: as if the user had cancelled.
        QMetaObject::invokeMethod(
            &timer_, [this] { controls_.tracking.startStop->setChecked(false); },
            Qt::QueuedConnection);
    }
}

void TrackingControls::FinishPick(std::optional<ScreenPoint> point) {
    pickThread_.join(); // its last step was to queue this call
    // Switched off meanwhile, or shutting down: the point is not wanted.
    if (ticksStopped_ || state_.trackingState != TrackingState::Running)
        return;
    if (point) {
        PickedPointInput clicked(*point);
        RunTickWith(clicked);
    }
    // A cancelled pick leaves the readouts as they were.
    controls_.tracking.startStop->setChecked(false);
}

void TrackingControls::RunTick() {
    // The desktop's answer without the ability is no position, which the
    // tick would show as the screen's corner.
    if (!followsPointer_)
        return;
    RunTickWith(input_);
}

void TrackingControls::RunTickWith(PointerAndKeyboard& pointer) {
    TickInputs inputs;
    inputs.pickOffset = state_.offset.PickOffset();
    inputs.relativeToOrigin = controls_.origin.enable->isChecked();
    if (inputs.relativeToOrigin) {
        inputs.originX = FieldText(controls_.origin.x);
        inputs.originY = FieldText(controls_.origin.y);
    }

    const TickResult result = RunSamplingTick(pointer, screen_, inputs);

    const PickedPanel& picked = controls_.picked;
    SetLabelText(controls_.tracking.rawPosition, result.rawPosition);
    SetFieldText(picked.x, result.pickedX);
    SetFieldText(picked.y, result.pickedY);
    SetBackColor(picked.swatch, result.swatch);
    const auto slot = static_cast<std::size_t>(state_.focusedColorSlot);
    if (slot < picked.slotLabels.size())
        SetBackColor(picked.slotLabels[slot], result.swatch);
    WriteColorTexts(picked.color, result.color);
    picked.magnifier->SetCells(result.magnifier);

    // The steps of the other pages (cursor code, window under the pointer)
    // follow in the order they were added.
    for (const auto& step : laterSteps_)
        step(result);
}

} // namespace huegrab
