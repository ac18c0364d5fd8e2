// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form/form_controls.h"
#include "desktop/desktop_windows.h"
#include "desktop/pointer_and_keyboard.h"
#include "desktop/shell_services.h"

#include <QObject>
#include <optional>
#include <string>

namespace huegrab {

class DesktopAbilities;
class Form1;
struct WindowFacts;

// The window panel: the pick page with its "P" switch and the crosshair
// that is dragged onto a window, the title search, and the window list with
// its copy actions. While tracking runs and the pick page is set visible
// with "P" up, every tick shows the window under the pointer. On a desktop
// that does not show its windows the panel asks it nothing: its controls
// are disabled and say why, and no field shows a handle.
class WindowPanelControls : public QObject {
public:
    WindowPanelControls(Form1& form, PointerAndKeyboard& input, DesktopWindows& windows,
                        ShellServices& shell, const DesktopAbilities& abilities);

    // Handle, title and class of a window into the pick page.
    void ShowWindow(WindowHandle window);
    void ProbeSwitched();    // Check4 clicked
    void Search();           // Command8
    void List();             // Command9
    void CopyList();         // Command10
    void CopyListedHandle(); // List1 double-clicked

    bool CrosshairDragging() const { return crosshairDragging_; }
    // The tick's last step: while tracking runs, the pick page is set
    // visible and "P" is up, the window under the pointer. That is where the
    // tick read it, unless the tick nudged it since: then it is read again
    // (one pixel on, or still in place at a screen edge).
    void LiveProbeStep(ScreenPoint pointer, bool nudged);

protected:
    // The list's double clicks, the crosshair's presses, moves and
    // releases, and the native window's pointer events during a drag.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Disables what needs the desktop's windows (or, for the crosshair, its
    // pointer too) and puts the reason where the answers would be.
    void ShowWhyNotOffered();
    void ShowFacts(const WindowFacts& facts);
    // A double click the list must not act on.
    static bool IsNonLeftDoubleClick(const QEvent& event);
    // A left press lifts the crosshair out, moves show the window under
    // the pointer, a release or hiding puts it back.
    void CrosshairEvent(const QEvent& event);
    // Ends a drag whose button went up where the crosshair did not see it.
    void DraggedWindowPointerEvent(const QEvent& event);
    void BeginCrosshairDrag();
    // Puts the crosshair back and the window's pointer with it.
    void EndCrosshairDrag();

    Form1& form_;
    const WindowPanel& panel_;
    QWidget* startStop_;
    PointerAndKeyboard& input_;
    DesktopWindows& windows_;
    ShellServices& shell_;
    // Why the desktop cannot list or describe windows; why no window can be
    // found under the pointer (that needs the pointer as well).
    std::optional<std::string> whyNoWindows_;
    std::optional<std::string> whyNoWindowAtPointer_;
    bool crosshairDragging_ = false;
};

} // namespace huegrab
