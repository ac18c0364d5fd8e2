#include "windowtools/window_probe.h"

namespace huegrab {
namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Bytes of the UTF-8 sequence a lead byte starts; 0 for a byte that
// cannot lead one.
std::size_t SequenceLength(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80)
        return 1;
    if (byte >= 0xC0 && byte < 0xE0)
        return 2;
    if (byte >= 0xE0 && byte < 0xF0)
        return 3;
    if (byte >= 0xF0 && byte < 0xF8)
        return 4;
    return 0;
}

} // namespace

std::string ApplyWindowTextRule(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    text = text.substr(0, kWindowTextLimit);
    // Drop a last character that the cut (ours or a backend's) left
    // incomplete. Bytes that are not UTF-8 stay as they are.
    std::size_t back = 0;
    while (back < 3 && back < text.size() && IsContinuationByte(text[text.size() - 1 - back]))
        ++back;
    if (back < text.size()) {
        const std::size_t lead = text.size() - 1 - back;
        if (SequenceLength(text[lead]) > back + 1)
            text = text.substr(0, lead);
    }
    return std::string(text);
}

std::string WindowHandleText(WindowHandle window) {
    return std::to_string(window);
}

WindowHandle WindowUnderPointer(DesktopServices& desktop) {
    const ScreenPoint point = desktop.GetCursorPos().value_or(ScreenPoint{});
    return desktop.WindowFromPoint(point);
}

namespace {

WindowFacts Facts(WindowHandle window, const WindowNames& names) {
    return {WindowHandleText(window), ApplyWindowTextRule(names.title),
            ApplyWindowTextRule(names.className)};
}

} // namespace

WindowFacts DescribeWindow(DesktopServices& desktop, WindowHandle window) {
    // Title and class come in one go.
    return Facts(window, desktop.WindowTextAndClass(window));
}

WindowFacts DescribeWindowAt(DesktopServices& desktop, ScreenPoint point) {
    // This runs on every tick: the backend reads window and names together.
    const WindowAtPoint found = desktop.WindowAndNamesAt(point);
    return Facts(found.window, found.names);
}

} // namespace huegrab
