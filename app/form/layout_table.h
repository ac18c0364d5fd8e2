// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "color/color_model.h"

#include <optional>
#include <span>
#include <string_view>

namespace huegrab {

// What a row of the layout table builds.
enum class ControlKind {
    Frame,                    // captioned group box; also the borderless sub-pages
    Label,                    // text or coloured box; clickable
    TextBox,                  // single-line field
    Readout,                  // read-only single-line field the program writes every tick
    ReadoutLabel,             // one-line label the program writes every tick
    MultiLineTextBox,         // read-only multi-line field with a vertical scroll bar
    CheckBox,                 // ordinary check box
    CheckBoxButton,           // check box drawn as a toggle push button
    OptionButton,             // round radio button; one group per parent
    OptionButtonAsPushButton, // radio button drawn as a push button; one group per parent
    CommandButton,            // push button
    ListBox,                  // list of lines
    ComboBox,                 // drop-down list without typing
    PictureBox,               // persistent drawing surface
    Image,                    // holds an icon; paints nothing
    Shape,                    // filled rectangle
    Magnifier,                // the 11 x 11 magnifier grid
    CentreMarker,             // a marker the magnifier draws; a label that paints nothing
};

// Start state and look of a control, combined bit by bit.
enum ControlFlag : unsigned {
    kNoFlags = 0,
    kHidden = 1U << 0,
    kDisabled = 1U << 1,
    kChecked = 1U << 2,
    kReadOnly = 1U << 3,
    kBordered = 1U << 4,    // a one-pixel box around a label
    kCentred = 1U << 5,     // text centred horizontally
    kHandPointer = 1U << 6, // pointing-hand mouse pointer
    kBorderless = 1U << 7,  // a frame that draws no border and no caption
    kCaptionPlace = 1U << 8 // a check box standing in a frame's caption place
};

// A rectangle in twips (15 to a logical pixel) relative to the parent's top-left.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// A control by name and index; an empty name is the window itself.
struct ControlRef {
    std::string_view name{};
    int index = -1;
};

struct ControlRow {
    std::string_view name{}; // the control's name, UTF-8
    int index = -1;          // -1 for a single control, else the array index
    ControlKind kind = ControlKind::Label;
    ControlRef parent{};
    TwipsRect rect{};
    std::string_view caption{};
    std::string_view tooltip{};
    std::optional<ColorValue> foreColor{}; // none: the style's text colour
    std::optional<ColorValue> backColor{}; // none: the parent shows through
    unsigned flags = kNoFlags;
    int maxLength = 0; // text fields: at most this many characters; 0 = no limit
};

// Every control of the main window, parents before their children. The first
// row is the first stop of the tab order.
std::span<const ControlRow> LayoutTable();

// A control's rectangle relative to the window's client area, its parents'
// offsets added up; nullopt for a control the table does not hold.
std::optional<TwipsRect> ClientTwips(ControlRef control);

inline constexpr int kTwipsPerPixel = 15;
// Twips to logical pixels, rounded to the nearest pixel.
constexpr int TwipsToPixels(int twips) {
    return (twips >= 0 ? twips + kTwipsPerPixel / 2 : twips - kTwipsPerPixel / 2) / kTwipsPerPixel;
}

// The window's client area.
inline constexpr int kClientWidthTwips = 6390;
inline constexpr int kClientHeightTwips = 4485;

} // namespace huegrab
