// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cursor/cursor_slots.h"
#include "desktop/cursor_image_source.h"
#include "desktop/pointer_and_keyboard.h"
#include "desktop/screen_pixels.h"

#include <QImage>
#include <QObject>
#include <array>
#include <optional>
#include <string>

namespace huegrab {

class DesktopAbilities;
class Form1;
struct CursorPanel;
struct ModePages;

// The cursor page: the method list, the code field, the four drawing boxes
// and the four cursor slots. The code is computed by Command7 and, while
// the page is chosen, by every tick; it always goes to the current slot.
// On a desktop that cannot show the cursor (or where it is) no code is
// computed: the field stays empty and the page says why.
class CursorPanelControls : public QObject {
public:
    CursorPanelControls(Form1& form, CursorImageSource& cursor, PointerAndKeyboard& input,
                        ScreenPixels& screen, const DesktopAbilities& abilities);

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
    void ShowWhyNotOffered(const ModePages& modes);
    void MoveFocusMarker(int k);

    const CursorPanel& panel_;
    const ModePages& modes_;
    CursorImageSource& cursor_;
    PointerAndKeyboard& input_;
    ScreenPixels& screen_;
    // Why no code can be read: the cursor's image and position are needed.
    std::optional<std::string> whyNoCode_;
    CursorSlots slots_;
    QImage drawing_; // reused by every computation
    // What each slot's box shows: a tick that draws the same picture again
    // leaves the box alone instead of repainting it.
    std::array<QImage, CursorSlots::kCount> shown_;
};

} // namespace huegrab
