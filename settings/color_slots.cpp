#include "settings/color_slots.h"

#include "settings/slot_texts.h"

namespace huegrab {
namespace {

bool IsSlotIndex(int index) {
    return index >= 0 && index < kColourSlotCount;
}

// The colour part of a load: 得16 and what swatch and slot show.
struct ColourShown {
    std::string hex;
    Paint swatch = Paint::Of(kEmptySwatchColour);
    std::optional<Paint> slot; // nullopt: the caller's empty-slot look
};

ColourShown ShowColour(const std::string& storedColour) {
    ColourShown shown;
    if (const std::optional<ColorValue> colour = StoredColourPaint(storedColour)) {
        shown.hex = StoredColourHexText(storedColour);
        shown.swatch = Paint::Of(*colour);
        shown.slot = Paint::Of(*colour);
    }
    return shown;
}

// Reads X, Y and C of the section into the fields, with 得16 built from C.
ColourShown ReadPositionAndColour(const SettingsStore& store, const std::string& section,
                                  PickedFields& fields) {
    fields.x = store.ReadSetting(section, "X");
    fields.y = store.ReadSetting(section, "Y");
    fields.value = store.ReadSetting(section, "C");
    ColourShown shown = ShowColour(fields.value);
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

std::string ColourSlotSection(int index) {
    return "P" + std::to_string(index);
}

bool SaveColourSlot(SettingsStore& store, int index, const PickedFields& fields) {
    if (!IsSlotIndex(index)) {
        return false;
    }
    const IniKeyValue values[] = {
        {"X", fields.x}, {"Y", fields.y}, {"C", fields.value}, {"R", fields.r}, {"G", fields.g},
        {"B", fields.b}, {"H", fields.h}, {"S", fields.s},     {"L", fields.l},
    };
    return store.WriteSettings(ColourSlotSection(index), values);
}

LoadedSlot LoadColourSlot(const SettingsStore& store, int index) {
    LoadedSlot loaded{{}, Paint::Of(kEmptySwatchColour), Paint::Of(kEmptySlotColour)};
    if (!IsSlotIndex(index)) {
        return loaded;
    }
    const std::string section = ColourSlotSection(index);
    PickedFields& fields = loaded.fields;
    const ColourShown shown = ReadPositionAndColour(store, section, fields);
    loaded.swatch = shown.swatch;
    loaded.slot = shown.slot.value_or(Paint::Of(kEmptySlotColour));
    ReadComponents(store, section, fields);
    return loaded;
}

std::optional<RestoredSlots> RestoreColourSlots(const SettingsStore& store) {
    if (!store.Exists()) {
        return std::nullopt;
    }
    RestoredSlots restored;
    const std::string first = ColourSlotSection(0);
    PickedFields& fields = restored.fields;
    const ColourShown shown = ReadPositionAndColour(store, first, fields);
    restored.swatch = shown.swatch;
    restored.slotPaints[0] = shown.slot.value_or(Paint::WindowBackground());
    for (int index = 1; index < kColourSlotCount; ++index) {
        const std::optional<ColorValue> colour =
            StoredColourPaint(store.ReadSetting(ColourSlotSection(index), "C"));
        restored.slotPaints[static_cast<std::size_t>(index)] =
            Paint::Of(colour.value_or(kEmptySlotColour));
    }
    ReadComponents(store, first, fields);
    return restored;
}

std::optional<RestoredSlots> ColourSlots::Restore() {
    focused_ = 0;
    return RestoreColourSlots(store_);
}

std::optional<LoadedSlot> ColourSlots::Click(int index, const PickedFields& current) {
    if (!IsSlotIndex(index)) {
        return std::nullopt;
    }
    SaveColourSlot(store_, focused_, current);
    LoadedSlot loaded = LoadColourSlot(store_, index);
    focused_ = index;
    return loaded;
}

bool ColourSlots::SaveFocused(const PickedFields& current) {
    return SaveColourSlot(store_, focused_, current);
}

} // namespace huegrab
