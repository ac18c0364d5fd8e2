// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form/form_controls.h"
#include "desktop/desktop_windows.h"
#include "desktop/shell_services.h"

#include <QObject>
#include <string>

namespace huegrab {

class Form1;

// The small "C", "V" and "F" buttons: copies of coordinates, colours,
// components and the window title to the clipboard, pastes of coordinates,
// a handle and a title from it, and the look-up of a window's title and
// class by its handle. The texts themselves are lookup/clipboard_texts.h.
// Nothing is ever reported; a paste that does not fit changes nothing.
class ClipboardControls : public QObject {
public:
    ClipboardControls(Form1& form, DesktopWindows& windows, ShellServices& shell);

private:
    void CopyPickedPoint();
    void PasteCustomPoint();
    void CopyLookupRgb();
    void CopyLookupHsl();
    void PasteOrigin();
    void CopyPickedHex();
    void CopyCustomPointHex();
    void PasteWindowHandle();
    void FindWindowByHandle();
    void CopyWindowTitle();
    void PasteSearchTitle();

    void Copy(const std::string& text);
    void PasteCoordinates(QLineEdit* x, QLineEdit* y);

    const FormControls& controls_;
    DesktopWindows& windows_;
    ShellServices& shell_;
};

} // namespace huegrab
