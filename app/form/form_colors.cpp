// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/form_colors.h"

#include "app/form/filled_label.h"
#include "app/form/frame_box.h"

#include <QApplication>
#include <QPalette>
#include <QVariant>
#include <QWidget>

namespace huegrab {
namespace {

constexpr char kBackColorProperty[] = "backColor";
constexpr char kSystemBackColorProperty[] = "systemBackColor";
constexpr char kForeColorProperty[] = "foreColor";

// The property keeps 0x80000005 as a positive number, as the window's own
// colour settings write it.
qint64 StoredValue(ColorValue value) {
    return value == kSystemWindowColor ? qint64{0x80000005} : qint64{value};
}

ColorValue ReadColorProperty(const QWidget* widget, const char* name) {
    const QVariant stored = widget->property(name);
    if (!stored.isValid()) {
        return -1;
    }
    const qint64 value = stored.toLongLong();
    return value == 0x80000005 ? kSystemWindowColor : static_cast<ColorValue>(value);
}

void SetTextRoles(QPalette& palette, const QColor& color) {
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
            palette.setColor(group, role, color);
        }
    }
}

// Text on a fill of the window's own (not the theme's) has no colour of its
// own either: the theme's text colour suits the theme's fills only, and a
// dark theme's light text would vanish on a white field. Black on light
// fills, white on dark ones.
bool TakesTextColorFromFill(const QWidget* widget, ColorValue value) {
    return value != kSystemWindowColor && !widget->property(kForeColorProperty).isValid();
}
QColor TextColorOn(const QColor& fill) {
    constexpr int kHalfLightness = 128;
    return fill.lightness() >= kHalfLightness ? QColor(Qt::black) : QColor(Qt::white);
}

void SetPaletteBackground(QWidget* widget, ColorValue value, const QColor& color) {
    QPalette palette = widget->palette();
    // Window fills labels, shapes and picture boxes; Base fills text fields and lists.
    palette.setColor(QPalette::Window, color);
    palette.setColor(QPalette::Base, color);
    if (TakesTextColorFromFill(widget, value)) {
        SetTextRoles(palette, TextColorOn(color));
    }
    widget->setPalette(palette);
}

// The same for a label that paints its fill itself; only a caption needs it,
// and the swatches that change on every tick have none.
void FitLabelText(FilledLabel* label, ColorValue value, const QColor& color) {
    if (label->text().isEmpty() || !TakesTextColorFromFill(label, value)) {
        return;
    }
    const QColor text = TextColorOn(color);
    if (label->palette().color(QPalette::WindowText) != text) {
        QPalette palette = label->palette();
        SetTextRoles(palette, text);
        label->setPalette(palette);
    }
}

} // namespace

QColor ToQColor(ColorValue value) {
    if (value < 0) {
        return QColor(0, 0, 0);
    }
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

ColorValue FromQColor(const QColor& color) {
    return static_cast<ColorValue>(color.red() | (color.green() << 8) | (color.blue() << 16));
}

QColor ShownBackColor(const QWidget* widget, ColorValue value) {
    return value == kSystemWindowColor ? QApplication::palette(widget).color(QPalette::Base)
                                       : ToQColor(value);
}

void SetBackColor(QWidget* widget, ColorValue value) {
    if (widget == nullptr) {
        return;
    }
    if (auto* label = qobject_cast<FilledLabel*>(widget)) {
        if (label->Filled() && label->FillValue() == value) {
            return;
        }
        const QColor fill = ShownBackColor(widget, value);
        label->SetFill(value, fill);
        FitLabelText(label, value, fill);
        return;
    }
    const QVariant stored = widget->property(kBackColorProperty);
    if (stored.isValid() && stored.toLongLong() == StoredValue(value)) {
        return;
    }
    SetPaletteBackground(widget, value, ShownBackColor(widget, value));
    widget->setAutoFillBackground(true);
    widget->setProperty(kBackColorProperty, StoredValue(value));
    widget->setProperty(kSystemBackColorProperty, value == kSystemWindowColor);
}

ColorValue BackColor(const QWidget* widget) {
    if (const auto* label = qobject_cast<const FilledLabel*>(widget)) {
        return label->Filled() ? label->FillValue() : -1;
    }
    return widget == nullptr ? -1 : ReadColorProperty(widget, kBackColorProperty);
}

void SetForeColor(QWidget* widget, ColorValue value) {
    if (widget == nullptr) {
        return;
    }
    widget->setProperty(kForeColorProperty, StoredValue(value));
    if (auto* frame = qobject_cast<FrameBox*>(widget)) {
        // A frame's colour is its caption's alone; a palette would pass on to its contents.
        frame->SetCaptionColor(ToQColor(value));
        return;
    }
    QPalette palette = widget->palette();
    SetTextRoles(palette, ToQColor(value));
    widget->setPalette(palette);
}

ColorValue ForeColor(const QWidget* widget) {
    return widget == nullptr ? -1 : ReadColorProperty(widget, kForeColorProperty);
}

} // namespace huegrab
