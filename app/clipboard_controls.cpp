// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/clipboard_controls.h"

#include "app/color_fields.h"
#include "app/form/form1.h"
#include "lookup/clipboard_texts.h"
#include "windowtools/window_probe.h"

#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <string_view>

namespace huegrab {
namespace {

// Each coordinate field keeps this many characters.
constexpr int kCoordinateLength = 4;

// The first `count` characters (UTF-16 units) of a UTF-8 text, without
// converting more of it than they can take.
QString FirstCharacters(std::string_view text, int count) {
    // No UTF-16 unit takes more than three bytes. A character the cut goes
    // through is left out whole, not shown as a replacement character.
    std::size_t end = std::min(text.size(), static_cast<std::size_t>(count) * 3);
    for (int back = 0; back < 3 && end > 0 && end < text.size() &&
                       (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80;
         ++back)
        --end;
    QString head = QString::fromUtf8(text.data(), static_cast<qsizetype>(end)).left(count);
    if (!head.isEmpty() && head.back().isHighSurrogate())
        head.chop(1); // nor half of one that takes two units
    return head;
}

} // namespace

ClipboardControls::ClipboardControls(Form1& form, DesktopWindows& windows, ShellServices& shell)
    : controls_(form.Controls()), windows_(windows), shell_(shell) {
    const ClipboardButtons& b = controls_.clipboard;
    const auto wire = [this](QPushButton* button, void (ClipboardControls::*handler)()) {
        QObject::connect(button, &QPushButton::clicked, this, handler);
    };
    wire(b.copyPickedPoint, &ClipboardControls::CopyPickedPoint);
    wire(b.pasteCustomPoint, &ClipboardControls::PasteCustomPoint);
    wire(b.copyLookupRgb, &ClipboardControls::CopyLookupRgb);
    wire(b.copyLookupHsl, &ClipboardControls::CopyLookupHsl);
    wire(b.pasteOrigin, &ClipboardControls::PasteOrigin);
    wire(b.copyPickedHex, &ClipboardControls::CopyPickedHex);
    wire(b.copyCustomPointHex, &ClipboardControls::CopyCustomPointHex);
    wire(b.pasteWindowHandle, &ClipboardControls::PasteWindowHandle);
    wire(b.findWindowByHandle, &ClipboardControls::FindWindowByHandle);
    wire(b.copyWindowTitle, &ClipboardControls::CopyWindowTitle);
    wire(b.pasteSearchTitle, &ClipboardControls::PasteSearchTitle);
}

void ClipboardControls::CopyPickedPoint() {
    Copy(PointCopyText(FieldText(controls_.picked.x), FieldText(controls_.picked.y)));
}

void ClipboardControls::PasteCustomPoint() {
    PasteCoordinates(controls_.customPoint.x, controls_.customPoint.y);
}

void ClipboardControls::CopyLookupRgb() {
    const ColorReadout& color = controls_.lookup.color;
    Copy(ComponentsCopyText(FieldText(color.r), FieldText(color.g), FieldText(color.b)));
}

void ClipboardControls::CopyLookupHsl() {
    const ColorReadout& color = controls_.lookup.color;
    Copy(ComponentsCopyText(FieldText(color.h), FieldText(color.s), FieldText(color.l)));
}

void ClipboardControls::PasteOrigin() {
    PasteCoordinates(controls_.origin.x, controls_.origin.y);
}

void ClipboardControls::CopyPickedHex() {
    Copy(QuotedCopyText(FieldText(controls_.picked.color.hex)));
}

void ClipboardControls::CopyCustomPointHex() {
    Copy(QuotedCopyText(FieldText(controls_.customPoint.color.hex)));
}

void ClipboardControls::PasteWindowHandle() {
    const std::optional<std::string> text = shell_.ClipboardText();
    if (!text)
        return; // a failed read ends the paste, the field as it was
    controls_.window.handle->setText(QString::fromStdString(PastedHandleText(*text)));
}

void ClipboardControls::FindWindowByHandle() {
    const auto handle = HandleFromText(FieldText(controls_.window.handle));
    if (!handle)
        return;
    const WindowFacts facts = DescribeWindow(windows_, *handle);
    SetFieldText(controls_.window.title, facts.title);
    SetFieldText(controls_.window.className, facts.className);
}

void ClipboardControls::CopyWindowTitle() {
    Copy(QuotedCopyText(FieldText(controls_.window.title)));
}

void ClipboardControls::PasteSearchTitle() {
    const std::optional<std::string> text = shell_.ClipboardText();
    if (!text)
        return;
    QLineEdit* field = controls_.window.searchText;
    field->setText(FirstCharacters(*text, field->maxLength()));
    field->setCursorPosition(0); // a long title shows from its start
}

void ClipboardControls::Copy(const std::string& text) {
    shell_.ClearClipboard();
    shell_.SetClipboardText(text);
}

void ClipboardControls::PasteCoordinates(QLineEdit* x, QLineEdit* y) {
    const std::optional<std::string> text = shell_.ClipboardText();
    const auto point = text ? SplitPastedPoint(*text) : std::nullopt;
    if (!point)
        return;
    x->setText(FirstCharacters(point->x, kCoordinateLength));
    y->setText(FirstCharacters(point->y, kCoordinateLength));
}

} // namespace huegrab
