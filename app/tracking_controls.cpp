#include "app/tracking_controls.h"

#include "app/color_fields.h"
#include "app/form/form1.h"
#include "app/form/form_colors.h"
#include "app/form/magnifier_grid.h"
#include "sampling/sampling_tick.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace huegrab {

namespace {
constexpr ColorValue kLampRunning = 0x0000FF; // red
constexpr ColorValue kLampStopped = 0x00FF00; // green

std::string FieldText(const Form1& form, std::string_view name) {
    const QLineEdit* field = form.Field(name);
    return field ? field->text().toStdString() : std::string();
}
} // namespace

TrackingControls::TrackingControls(Form1& form, DesktopServices& desktop, WindowState& state)
    : form_(form), desktop_(desktop), state_(state) {
    if (auto* startStop = form_.Find<QCheckBox>("Check1"))
        QObject::connect(startStop, &QCheckBox::toggled, &form_,
                         [this](bool checked) { OnStartStopChanged(checked); });
    QObject::connect(form_.Timer1(), &QTimer::timeout, &form_, [this] { RunTick(); });
}

void TrackingControls::OnStartStopChanged(bool checked) {
    QWidget* lamp = form_.Control("Label8");
    QTimer* timer = form_.Timer1();
    if (checked) {
        SetBackColor(lamp, kLampRunning);
        timer->stop(); // a fresh period: the first tick comes a full interval later
        timer->start();
        state_.trackingState = TrackingState::Running;
    } else {
        SetBackColor(lamp, kLampStopped);
        timer->stop();
        state_.trackingState = TrackingState::Stopped;
    }
}

void TrackingControls::HandleHotkey(const HotkeyMessage& message) {
    const std::optional<bool> check =
        HotkeyWindowProc(message, state_.trackingState, state_.hotkey);
    if (!check)
        return;
    if (auto* startStop = form_.Find<QCheckBox>("Check1"))
        startStop->setChecked(*check);
}

void TrackingControls::RunTick() {
    TickInputs inputs;
    inputs.pickOffset = state_.offset.PickOffset();
    if (auto* origin = form_.Find<QCheckBox>("Check3"))
        inputs.relativeToOrigin = origin->isChecked();
    if (inputs.relativeToOrigin) {
        inputs.originX = FieldText(form_, "起x");
        inputs.originY = FieldText(form_, "起y");
    }

    const TickResult result = RunSamplingTick(desktop_, inputs);

    if (auto* raw = form_.Find<QLabel>("Label9"))
        raw->setText(QString::fromStdString(result.rawPosition));
    if (QLineEdit* x = form_.Field("得x"))
        x->setText(QString::fromStdString(result.pickedX));
    if (QLineEdit* y = form_.Field("得y"))
        y->setText(QString::fromStdString(result.pickedY));
    SetBackColor(form_.Control("得颜色"), result.swatch);
    SetBackColor(form_.Control("色块", state_.focusedColourSlot), result.swatch);
    WriteColorTexts(form_, kPickedFields, result.colour);
    if (MagnifierGrid* magnifier = form_.Magnifier())
        magnifier->SetCells(result.magnifier);
}

} // namespace huegrab
