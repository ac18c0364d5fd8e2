#include "app/colour_slot_controls.h"

#include "app/form/clickable_label.h"
#include "app/form/form1.h"
#include "app/form/form_colors.h"

#include <QLineEdit>

namespace huegrab {

namespace {

// The marker sits 45 twips (3 pixels) below the top of its slot.
constexpr int kMarkerDrop = 3;

struct FieldBinding {
    const char* name;
    std::string PickedFields::*text;
};

constexpr FieldBinding kFields[] = {
    {"得x", &PickedFields::x},      {"得y", &PickedFields::y},      {"得10", &PickedFields::value},
    {"得16", &PickedFields::hex},   {"得16r", &PickedFields::rHex}, {"得16g", &PickedFields::gHex},
    {"得16b", &PickedFields::bHex}, {"得10r", &PickedFields::r},    {"得10g", &PickedFields::g},
    {"得10b", &PickedFields::b},    {"得10h", &PickedFields::h},    {"得10s", &PickedFields::s},
    {"得10l", &PickedFields::l}};

} // namespace

ColourSlotControls::ColourSlotControls(Form1& form, WindowState& state)
    : form_(form), state_(state) {
    for (int index = 0; index < kColourSlotCount; ++index)
        if (auto* slot = form_.Find<ClickableLabel>("色块", index))
            QObject::connect(slot, &ClickableLabel::clicked, this, [this, index] { Click(index); });
}

void ColourSlotControls::OpenSettings() {
    if (slots_)
        return;
    file_ = std::make_unique<SettingsFile>(state_.settingsPath);
    slots_ = std::make_unique<ColourSlots>(*file_);
}

void ColourSlotControls::Restore() {
    OpenSettings();
    const std::optional<RestoredSlots> restored = slots_->Restore();
    state_.focusedColourSlot = static_cast<std::int16_t>(slots_->Focused());
    if (!restored)
        return; // no file yet: the built-in look stays
    ShowFields(restored->fields);
    ApplyPaint(form_.Control("得颜色"), restored->swatch);
    for (int index = 0; index < kColourSlotCount; ++index)
        ApplyPaint(form_.Control("色块", index),
                   restored->slotPaints[static_cast<std::size_t>(index)]);
}

void ColourSlotControls::Click(int index) {
    OpenSettings();
    const std::optional<LoadedSlot> loaded = slots_->Click(index, ReadFields());
    if (!loaded)
        return;
    MoveFocusMarker(index);
    ShowFields(loaded->fields);
    ApplyPaint(form_.Control("得颜色"), loaded->swatch);
    ApplyPaint(form_.Control("色块", index), loaded->slot);
    state_.focusedColourSlot = static_cast<std::int16_t>(slots_->Focused());
}

void ColourSlotControls::SaveFocused() {
    OpenSettings();
    slots_->SaveFocused(ReadFields());
}

PickedFields ColourSlotControls::ReadFields() const {
    PickedFields fields;
    for (const FieldBinding& binding : kFields)
        if (const QLineEdit* field = form_.Field(binding.name))
            fields.*binding.text = field->text().toStdString();
    return fields;
}

void ColourSlotControls::ShowFields(const PickedFields& fields) {
    for (const FieldBinding& binding : kFields)
        if (QLineEdit* field = form_.Field(binding.name))
            field->setText(QString::fromStdString(fields.*binding.text));
}

void ColourSlotControls::ApplyPaint(QWidget* widget, const Paint& paint) {
    if (!widget)
        return;
    SetBackColor(widget,
                 paint.kind == Paint::Kind::WindowBackground ? kSystemWindowColor : paint.colour);
}

void ColourSlotControls::MoveFocusMarker(int index) {
    QWidget* marker = form_.Control("焦点", 0);
    const QWidget* slot = form_.Control("色块", index);
    if (marker && slot)
        marker->move(marker->x(), slot->y() + kMarkerDrop);
}

} // namespace huegrab
