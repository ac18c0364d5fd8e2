// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/color_slots.h"

#include "settings/slot_texts.h"

namespace huegrab {
namespace {

bool IsSlotIndex(int index) {
    return index >= 0 && index < kColorSlotCount;
}

// The colour part of a load: 得16 and what swatch and slot show.
struct ColorShown {
    std::string hex;
    Paint swatch = Paint::Of(kEmptySwatchColor);
    std::optional<Paint> slot; // nullopt: the caller's empty-slot look
};

ColorShown ShowColor(const std::string& storedColor) {
    ColorShown shown;
    if (const std::optional<ColorValue> color = StoredColorPaint(storedColor)) {
        shown.hex = StoredColorHexText(storedColor);
        shown.swatch = Paint::Of(*color);
        shown.slot = Paint::Of(*color);
    }
    return shown;
}

// Reads X, Y and C of the section into the fields, with 得16 built from C.
ColorShown ReadPositionAndColor(const SettingsStore& store, const std::string& section,
                                PickedFields& fields) {
    fields.x = store.ReadSetting(section, "X");
    fields.y = store.ReadSetting(section, "Y");
    fields.value = store.ReadSetting(section, "C");
    ColorShown shown = ShowColor(fields.value);
    fields.hex = shown.hex;
    return shown;
}

void ReadComponents(const SettingsStore& store, const std::string& section, PickedFields& fields) {
    fields.r = store.ReadSetting(section, "R");
    fields.g = store.ReadSetting(section, "G");
    fields.b = store.ReadSetting(section, "B");
    fields.rHex = ComponentHexText(fields.r);
    fields.gHex = ComponentHexText(fields.g);
    fields.bHex = ComponentHexText(fields.b);
    fields.h = store.ReadSetting(section, "H");
    fields.s = store.ReadSetting(section, "S");
    fields.l = store.ReadSetting(section, "L");
}

} // namespace

std::string ColorSlotSection(int index) {
    return "P" + std::to_string(index);
}

bool SaveColorSlot(SettingsStore& store, int index, const PickedFields& fields) {
    if (!IsSlotIndex(index)) {
        return false;
    }
    const IniKeyValue values[] = {
        {"X", fields.x}, {"Y", fields.y}, {"C", fields.value}, {"R", fields.r}, {"G", fields.g},
        {"B", fields.b}, {"H", fields.h}, {"S", fields.s},     {"L", fields.l},
    };
    return store.WriteSettings(ColorSlotSection(index), values);
}

LoadedSlot LoadColorSlot(const SettingsStore& store, int index) {
    LoadedSlot loaded{{}, Paint::Of(kEmptySwatchColor), Paint::Of(kEmptySlotColor)};
    if (!IsSlotIndex(index)) {
        return loaded;
    }
    const std::string section = ColorSlotSection(index);
    PickedFields& fields = loaded.fields;
    const ColorShown shown = ReadPositionAndColor(store, section, fields);
    loaded.swatch = shown.swatch;
    loaded.slot = shown.slot.value_or(Paint::Of(kEmptySlotColor));
    ReadComponents(store, section, fields);
    return loaded;
}

std::optional<RestoredSlots> RestoreColorSlots(const SettingsStore& store) {
    if (!store.Exists()) {
        return std::nullopt;
    }
    RestoredSlots restored;
    const std::string first = ColorSlotSection(0);
    PickedFields& fields = restored.fields;
    const ColorShown shown = ReadPositionAndColor(store, first, fields);
    restored.swatch = shown.swatch;
    restored.slotPaints[0] = shown.slot.value_or(Paint::WindowBackground());
    for (int index = 1; index < kColorSlotCount; ++index) {
        const std::optional<ColorValue> color =
            StoredColorPaint(store.ReadSetting(ColorSlotSection(index), "C"));
        restored.slotPaints[static_cast<std::size_t>(index)] =
            Paint::Of(color.value_or(kEmptySlotColor));
    }
    ReadComponents(store, first, fields);
    return restored;
}

std::optional<RestoredSlots> ColorSlots::Restore() {
    focused_ = 0;
    return RestoreColorSlots(store_);
}

std::optional<LoadedSlot> ColorSlots::Click(int index, const PickedFields& current) {
    if (!IsSlotIndex(index)) {
        return std::nullopt;
    }
    SaveColorSlot(store_, focused_, current);
    LoadedSlot loaded = LoadColorSlot(store_, index);
    focused_ = index;
    return loaded;
}

bool ColorSlots::SaveFocused(const PickedFields& current) {
    return SaveColorSlot(store_, focused_, current);
}

} // namespace huegrab
