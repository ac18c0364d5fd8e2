// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form/form_controls.h"
#include "app/window_state.h"
#include "settings/color_slots.h"
#include "settings/settings_file.h"

#include <QObject>
#include <QString>
#include <array>
#include <memory>

namespace huegrab {

class Form1;

// The ten colour slots beside the picked values: a click stores the fields
// into the focused slot and shows the clicked one; startup restores slot 0
// and the slot colours; shutdown stores the focused slot.
class ColorSlotControls : public QObject {
public:
    ColorSlotControls(Form1& form, WindowState& state);

    void Restore(); // once SettingsPath is known
    void Click(int index);
    void SaveFocused();

private:
    PickedFields ReadFields() const;
    void ShowFields(const PickedFields& fields);
    void ApplyPaint(QWidget* widget, const Paint& paint);
    void MoveFocusMarker(int index);
    void OpenSettings();

    // A picked-value field and where its text goes in a slot. A stored
    // text that is not UTF-8 shows with replacement characters; as long as
    // the field still shows what was loaded, the stored bytes are written
    // back as they were, so starting and closing rewrites nothing.
    struct FieldBinding {
        ReadoutField* field;
        std::string PickedFields::*text;
        std::string loadedBytes{};
        QString shownText{};
    };

    const PickedPanel& panel_;
    WindowState& state_;
    std::array<FieldBinding, 13> fields_;
    std::unique_ptr<SettingsFile> file_;
    std::unique_ptr<ColorSlots> slots_;
};

} // namespace huegrab
