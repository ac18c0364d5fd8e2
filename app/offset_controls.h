// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form/form_controls.h"
#include "app/window_state.h"

namespace huegrab {

class Form1;

// "偏移抓点" with its "+" and "-" buttons and the amount label.
class OffsetControls {
public:
    OffsetControls(Form1& form, WindowState& state);

private:
    void OnEnabledChanged(bool checked);
    void ShowAmount();

    const OffsetPanel& panel_;
    WindowState& state_;
};

} // namespace huegrab
