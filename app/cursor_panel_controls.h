// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cursor/cursor_slots.h"
#include "desktop/cursor_image_source.h"
#include "desktop/pointer_and_keyboard.h"
#include "desktop/screen_pixels.h"

#include <QImage>
#include <QObject>
#include <array>

namespace huegrab {

class Form1;
struct CursorPanel;
struct ModePages;

// The cursor page: the method list, the code field, the four drawing boxes
// and the four cursor slots. The code is computed by Command7 and, while
// the page is chosen, by every tick; it always goes to the current slot.
class CursorPanelControls : public QObject {
public:
    CursorPanelControls(Form1& form, CursorImageSource& cursor, PointerAndKeyboard& input,
                        ScreenPixels& screen);

    // The tick's step after the magnifier: the code for the current slot,
    // only while "抓鼠标" is the chosen mode.
    void TickStep();
    // One code by the chosen method into the code field and the current
    // slot's drawing box.
    void ComputeForCurrentSlot();
    // A click on slot label k.
    void SelectSlot(int k);

    int FocusedCursorSlot() const { return slots_.Focused(); }

private:
    void MoveFocusMarker(int k);

    const CursorPanel& panel_;
    const ModePages& modes_;
    CursorImageSource& cursor_;
    PointerAndKeyboard& input_;
    ScreenPixels& screen_;
    CursorSlots slots_;
    QImage drawing_; // reused by every computation
    // What each slot's box shows: a tick that draws the same picture again
    // leaves the box alone instead of repainting it.
    std::array<QImage, CursorSlots::kCount> shown_;
};

} // namespace huegrab
