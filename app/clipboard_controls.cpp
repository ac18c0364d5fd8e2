#include "app/clipboard_controls.h"

#include "app/color_fields.h"
#include "app/form/form1.h"
#include "color/blank_text.h"
#include "color/number_text.h"
#include "windowtools/window_probe.h"

#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>

namespace huegrab {
namespace {

// A handle is read from no more text than the handle field holds, so a
// huge clipboard is not scanned to its end.
constexpr std::size_t kMaxNumberText = 32767;
// Each coordinate field keeps this many characters.
constexpr int kCoordinateLength = 4;

// The number a handle text starts with. Besides the forms every number
// field takes, "0x" starts a hexadecimal number, as X tools (xwininfo,
// xprop, wmctrl) print window ids.
double ReadHandleNumber(std::string_view text) {
    const std::string_view number = TrimBlanks(text.substr(0, kMaxNumberText), " \t\n");
    if (number.size() > 2 && number[0] == '0' && (number[1] == 'x' || number[1] == 'X'))
        return ReadLeadingNumber("&H" + std::string(number.substr(2)));
    return ReadLeadingNumber(number);
}

std::string Quoted(const std::string& text) {
    return '"' + text + '"';
}

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

std::optional<PastedPoint> SplitPastedPoint(std::string_view text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos || text.find(',', comma + 1) != std::string_view::npos)
        return std::nullopt;
    return PastedPoint{std::string(TrimBlanks(text.substr(0, comma), " ")),
                       std::string(TrimBlanks(text.substr(comma + 1), " "))};
}

std::optional<WindowHandle> HandleFromText(std::string_view text) {
    const double rounded = std::nearbyint(ReadHandleNumber(text));
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        return std::nullopt;
    return static_cast<WindowHandle>(rounded);
}

ClipboardControls::ClipboardControls(Form1& form, DesktopServices& desktop, ShellServices& shell)
    : controls_(form.Controls()), desktop_(desktop), shell_(shell) {
    for (int index = 0; index < kClipboardButtonCount; ++index)
        QObject::connect(controls_.clipboard[static_cast<std::size_t>(index)],
                         &QPushButton::clicked, this, [this, index] { Click(index); });
}

void ClipboardControls::Click(int index) {
    const FormControls& c = controls_;
    switch (index) {
    case 0:
        Copy(FieldText(c.picked.x) + "," + FieldText(c.picked.y));
        break;
    case 1:
        PasteCoordinates(c.customPoint.x, c.customPoint.y);
        break;
    case 2:
        Copy(FieldText(c.lookup.color.r) + "," + FieldText(c.lookup.color.g) + "," +
             FieldText(c.lookup.color.b));
        break;
    case 3:
        Copy(FieldText(c.lookup.color.h) + "," + FieldText(c.lookup.color.s) + "," +
             FieldText(c.lookup.color.l));
        break;
    case 4:
        PasteCoordinates(c.origin.x, c.origin.y);
        break;
    case 5:
        Copy(Quoted(FieldText(c.picked.color.hex)));
        break;
    case 6:
        Copy(Quoted(FieldText(c.customPoint.color.hex)));
        break;
    case 7:
        PasteHandle();
        break;
    case 8:
        FindByHandle();
        break;
    case 9:
        Copy(Quoted(FieldText(c.window.title)));
        break;
    case 10:
        PasteTitle();
        break;
    default:
        break;
    }
}

void ClipboardControls::Copy(const std::string& text) {
    shell_.ClearClipboard();
    shell_.SetClipboardText(text);
}

void ClipboardControls::PasteCoordinates(QLineEdit* x, QLineEdit* y) {
    const auto point = SplitPastedPoint(shell_.ClipboardText());
    if (!point)
        return;
    x->setText(FirstCharacters(point->x, kCoordinateLength));
    y->setText(FirstCharacters(point->y, kCoordinateLength));
}

void ClipboardControls::PasteHandle() {
    const std::string text = shell_.ClipboardText();
    controls_.window.handle->setText(
        QString::fromStdString(FormatShortestDouble(ReadHandleNumber(text))));
}

void ClipboardControls::FindByHandle() {
    const auto handle = HandleFromText(FieldText(controls_.window.handle));
    if (!handle)
        return;
    const WindowFacts facts = DescribeWindow(desktop_, *handle);
    SetFieldText(controls_.window.title, facts.title);
    SetFieldText(controls_.window.className, facts.className);
}

void ClipboardControls::PasteTitle() {
    QLineEdit* field = controls_.window.searchText;
    field->setText(FirstCharacters(shell_.ClipboardText(), field->maxLength()));
    field->setCursorPosition(0); // a long title shows from its start
}

} // namespace huegrab
