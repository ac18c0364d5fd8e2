// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/color_slot_controls.h"

#include "app/form/clickable_label.h"
#include "app/form/form1.h"
#include "app/form/form_colors.h"
#include "app/form/readout_field.h"
#include "platform/utf8_path.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>

namespace huegrab {

namespace {

// The marker sits 45 twips (3 pixels) below the top of its slot.
constexpr int kMarkerDrop = 3;

} // namespace

ColorSlotControls::ColorSlotControls(Form1& form, WindowState& state)
    : panel_(form.Controls().picked),
      state_(state), fields_{{{panel_.x, &PickedFields::x},
                              {panel_.y, &PickedFields::y},
                              {panel_.color.value, &PickedFields::value},
                              {panel_.color.hex, &PickedFields::hex},
                              {panel_.color.rHex, &PickedFields::rHex},
                              {panel_.color.gHex, &PickedFields::gHex},
                              {panel_.color.bHex, &PickedFields::bHex},
                              {panel_.color.r, &PickedFields::r},
                              {panel_.color.g, &PickedFields::g},
                              {panel_.color.b, &PickedFields::b},
                              {panel_.color.h, &PickedFields::h},
                              {panel_.color.s, &PickedFields::s},
                              {panel_.color.l, &PickedFields::l}}} {
    for (int index = 0; index < kColorSlotCount; ++index)
        QObject::connect(panel_.slotLabels[static_cast<std::size_t>(index)],
                         &ClickableLabel::clicked, this, [this, index] { Click(index); });
}

void ColorSlotControls::OpenSettings() {
    if (slots_)
        return;
    file_ = std::make_unique<SettingsFile>(platform::PathFromUtf8(state_.settingsPath),
                                           platform::PathFromUtf8(state_.earlierSettingsPath));
    slots_ = std::make_unique<ColorSlots>(*file_);
}

void ColorSlotControls::Restore() {
    OpenSettings();
    const std::optional<RestoredSlots> restored = slots_->Restore();
    state_.focusedColorSlot = static_cast<std::int16_t>(slots_->Focused());
    if (!restored)
        return; // no file yet: the built-in look stays
    ShowFields(restored->fields);
    ApplyPaint(panel_.swatch, restored->swatch);
    for (std::size_t index = 0; index < panel_.slotLabels.size(); ++index)
        ApplyPaint(panel_.slotLabels[index], restored->slotPaints[index]);
}

void ColorSlotControls::Click(int index) {
    OpenSettings();
    const std::optional<LoadedSlot> loaded = slots_->Click(index, ReadFields());
    if (!loaded)
        return;
    MoveFocusMarker(index);
    ShowFields(loaded->fields);
    ApplyPaint(panel_.swatch, loaded->swatch);
    ApplyPaint(panel_.slotLabels[static_cast<std::size_t>(index)], loaded->slot);
    state_.focusedColorSlot = static_cast<std::int16_t>(slots_->Focused());
}

void ColorSlotControls::SaveFocused() {
    OpenSettings();
    slots_->SaveFocused(ReadFields());
}

PickedFields ColorSlotControls::ReadFields() const {
    PickedFields fields;
    for (const FieldBinding& binding : fields_) {
        const QString text = binding.field->text();
        fields.*binding.text = text == binding.shownText && !binding.loadedBytes.empty()
                                   ? binding.loadedBytes
                                   : text.toStdString();
    }
    return fields;
}

void ColorSlotControls::ShowFields(const PickedFields& fields) {
    for (FieldBinding& binding : fields_) {
        binding.loadedBytes = fields.*binding.text;
        binding.field->setText(QString::fromStdString(binding.loadedBytes));
        binding.shownText = binding.field->text(); // as the field holds it (max length)
    }
}

void ColorSlotControls::ApplyPaint(QWidget* widget, const Paint& paint) {
    if (!widget)
        return;
    SetBackColor(widget,
                 paint.kind == Paint::Kind::WindowBackground ? kSystemWindowColor : paint.color);
}

void ColorSlotControls::MoveFocusMarker(int index) {
    QWidget* marker = panel_.slotMarker;
    const QWidget* slot = panel_.slotLabels[static_cast<std::size_t>(index)];
    marker->move(marker->x(), slot->y() + kMarkerDrop);
}

} // namespace huegrab
