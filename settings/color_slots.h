// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "color/color_model.h"
#include "settings/settings_store.h"

#include <array>
#include <optional>
#include <string>

namespace huegrab {

inline constexpr int kColorSlotCount = 10;
// The look of a slot and of the swatch without a stored colour.
inline constexpr ColorValue kEmptySlotColor = 0xFFFFFF;
inline constexpr ColorValue kEmptySwatchColor = 0xE1E1E1;

// The texts of the picked-value fields, in the order of the window:
// 得x, 得y, 得10, 得16, 得16r, 得16g, 得16b, 得10r, 得10g, 得10b, 得10h, 得10s, 得10l.
struct PickedFields {
    std::string x;
    std::string y;
    std::string value; // 得10, the colour value in decimal
    std::string hex;   // 得16, six hexadecimal digits BBGGRR
    std::string rHex;
    std::string gHex;
    std::string bHex;
    std::string r;
    std::string g;
    std::string b;
    std::string h;
    std::string s;
    std::string l;
    friend bool operator==(const PickedFields&, const PickedFields&) = default;
};

// A background to paint: a colour 0x00BBGGRR, or the desktop's window
// background (which only an empty first slot gets at startup).
struct Paint {
    enum class Kind { Color, WindowBackground };
    Kind kind = Kind::Color;
    ColorValue color = 0;

    static constexpr Paint Of(ColorValue c) { return {Kind::Color, c}; }
    static constexpr Paint WindowBackground() { return {Kind::WindowBackground, 0}; }
    friend bool operator==(const Paint&, const Paint&) = default;
};

// What loading one slot shows: every picked-value field, the swatch 得颜色
// and the loaded slot 色块(i). The other slots keep their backgrounds.
struct LoadedSlot {
    PickedFields fields;
    Paint swatch;
    Paint slot;
};

// What the startup restore shows: slot 0's values in the fields, the swatch
// and all ten slots.
struct RestoredSlots {
    PickedFields fields;
    Paint swatch;
    std::array<Paint, kColorSlotCount> slotPaints;
};

// "P0" … "P9".
std::string ColorSlotSection(int index);

// Stores the fields into the slot's section: keys X, Y, C, R, G, B, H, S, L
// in that order, each the field's text unchanged, as one replacement of the
// file. False when the index is outside 0..9 or the write failed.
bool SaveColorSlot(SettingsStore& store, int index, const PickedFields& fields);

// Reads X, Y, C, R, G, B, H, S, L of the slot's section in that order and
// builds what they show (texts verbatim; missing keys are empty):
// - a whole-number "C" (see ParseWholeNumber): 得16 its six hexadecimal
//   digits, swatch and slot its colour (black when outside 0..16777215);
// - an empty or other "C": 得16 empty, swatch light grey, slot white;
// - each of 得16r/g/b: ComponentHexText of "R", "G", "B" (empty when not a
//   whole number).
// An index outside 0..9 reads nothing and gives the empty look.
LoadedSlot LoadColorSlot(const SettingsStore& store, int index);

// The startup restore: nullopt, reading nothing, when the file does not
// exist. Otherwise reads X, Y, C of P0, then C of P1 … P9, then R, G, B, H, S,
// L of P0, and shows them as LoadColourSlot does, except that slot 0 without
// a whole-number colour takes the window background instead of white.
std::optional<RestoredSlots> RestoreColorSlots(const SettingsStore& store);

// The ten colour slots with their focus (FocusedColourSlot), over one store.
class ColorSlots {
public:
    explicit ColorSlots(SettingsStore& store) : store_(store) {}

    // The focused slot, 0..9; 0 until a click moves it.
    int Focused() const { return focused_; }

    // Startup: focus slot 0, then RestoreColourSlots.
    std::optional<RestoredSlots> Restore();

    // A click on slot `index`: stores `current` into the focused slot (the
    // clicked one itself when it has the focus), then loads the clicked slot
    // and focuses it. A failed store does not stop the load. nullopt, with
    // nothing read or written, for an index outside 0..9.
    std::optional<LoadedSlot> Click(int index, const PickedFields& current);

    // Shutdown: stores `current` into the focused slot only.
    bool SaveFocused(const PickedFields& current);

private:
    SettingsStore& store_;
    int focused_ = 0;
};

} // namespace huegrab
