// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form/form_controls.h"
#include "desktop/screen_pixels.h"

namespace huegrab {

class Form1;

// The colour-code lookup page and the custom-coordinate panel.
class LookupControls {
public:
    LookupControls(Form1& form, ScreenPixels& screen);

    void LookUpCode();      // "颜色显示" of the lookup page
    void ReadCustomPoint(); // "颜色显示" of the custom-coordinate panel

private:
    void ShowInputKind();

    const LookupPage& lookup_;
    const CustomPointPanel& customPoint_;
    ScreenPixels& screen_;
};

} // namespace huegrab
