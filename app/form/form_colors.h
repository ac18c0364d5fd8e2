// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "color/color_model.h"

#include <QColor>

class QWidget;

namespace huegrab {

// The desktop's window-background colour, as the window's own colour
// settings name it. It is no 0x00BBGGRR value: painting it takes the palette's
// Base colour (the background of text entry, white in most themes).
inline constexpr ColorValue kSystemWindowColor = static_cast<ColorValue>(0x80000005U);

// Colours the window uses by name.
inline constexpr ColorValue kWhite = 0xFFFFFF;
inline constexpr ColorValue kLightGrey = 0xE1E1E1; // read-only fields, empty swatches
inline constexpr ColorValue kGreyText = 0x808080;
inline constexpr ColorValue kSilver = 0xC0C0C0;
inline constexpr ColorValue kRed = 0x0000FF;
inline constexpr ColorValue kGreen = 0x00FF00;
inline constexpr ColorValue kDarkGreen = 0x00C000;
inline constexpr ColorValue kBlue = 0xFF0000;
inline constexpr ColorValue kMagenta = 0xFF00FF;
inline constexpr ColorValue kBlack = 0x000000;

// 0x00BBGGRR to a QColor; a negative value (an unreadable pixel) is black.
QColor ToQColor(ColorValue value);
// The reverse, for colours read back from a drawing.
ColorValue FromQColor(const QColor& color);

// Paints the widget's background through its palette (no style sheet) and
// records the value in the dynamic property "backColor" (qint64;
// kSystemWindowColor is kept as 0x80000005 and also flagged by the bool
// property "systemBackColor"). A FilledLabel - every label of the window,
// the swatches and slots that change on every tick among them - keeps the
// value and paints the colour itself, with neither palette nor property.
// A negative value other than kSystemWindowColor paints black. Setting the
// current colour again does nothing.
void SetBackColor(QWidget* widget, ColorValue value);
// The colour a back colour value paints: kSystemWindowColor is the palette's
// Base colour as the application palette gives it for the widget.
QColor ShownBackColor(const QWidget* widget, ColorValue value);
// The value last given to SetBackColor, kSystemWindowColor for the system
// colour; -1 when none was ever set (or -1 was given).
ColorValue BackColor(const QWidget* widget);

// Text colour through the palette (WindowText, Text and ButtonText of the
// active and inactive groups; disabled text keeps the style's grey). Frames
// take it as their caption colour only, so their contents keep their own.
// Recorded in the dynamic property "foreColor" (qint64).
void SetForeColor(QWidget* widget, ColorValue value);
// The value last given to SetForeColor, or -1 when none was set.
ColorValue ForeColor(const QWidget* widget);

} // namespace huegrab
