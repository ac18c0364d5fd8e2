#pragma once

#include "app/form/form_controls.h"
#include "desktop/desktop_services.h"
#include "desktop/shell_services.h"

#include <QObject>
#include <optional>
#include <string>
#include <string_view>

namespace huegrab {

class Form1;

// The small "C", "V" and "F" buttons of the array Command11: copies of
// coordinates, colours, components and the window title to the clipboard,
// pastes of coordinates, a handle and a title from it, and the look-up of a
// window's title and class by its handle. Nothing is ever reported; a paste
// that does not fit changes nothing.
class ClipboardControls : public QObject {
public:
    ClipboardControls(Form1& form, DesktopServices& desktop, ShellServices& shell);

    // The action of Command11(index); other indexes do nothing.
    void Click(int index);

private:
    void Copy(const std::string& text);
    void PasteCoordinates(QLineEdit* x, QLineEdit* y);
    void PasteHandle();
    void FindByHandle();
    void PasteTitle();

    const FormControls& controls_;
    DesktopServices& desktop_;
    ShellServices& shell_;
};

// What a coordinate paste writes: the two parts of a text with exactly one
// comma, blanks around each part removed; nullopt for any other text.
struct PastedPoint {
    std::string x;
    std::string y;
    friend bool operator==(const PastedPoint&, const PastedPoint&) = default;
};
std::optional<PastedPoint> SplitPastedPoint(std::string_view text);

// The handle a text starts with ("0x" also starts a hexadecimal one),
// rounded half to even; nullopt outside the 32-bit signed range.
std::optional<WindowHandle> HandleFromText(std::string_view text);

} // namespace huegrab
