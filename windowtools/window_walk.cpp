// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowtools/window_walk.h"

#include "windowtools/window_probe.h"

namespace huegrab {

// The backend reads the titles in as few round trips as it can.
std::vector<TitledWindow> TitledWindows(DesktopWindows& desktop) {
    std::vector<TitledWindow> windows = desktop.TitledTopLevelWindows();
    std::erase_if(windows, [](TitledWindow& window) {
        window.title = ApplyWindowTextRule(window.title);
        return window.title.empty();
    });
    return windows;
}

std::vector<TitledWindow> WindowsWithTitle(DesktopWindows& desktop, std::string_view search) {
    std::vector<TitledWindow> windows = TitledWindows(desktop);
    std::erase_if(windows, [&](const TitledWindow& window) {
        return window.title.find(search) == std::string::npos;
    });
    return windows;
}

namespace {

// The last three digits of "000" followed by the count.
std::string ThreeDigitCount(std::size_t count) {
    const std::string padded = "000" + std::to_string(count);
    return padded.substr(padded.size() - 3);
}

} // namespace

std::string FindWindowsByTitle(DesktopWindows& desktop, std::string_view search) {
    std::string result;
    std::size_t count = 0;
    for (const TitledWindow& window : WindowsWithTitle(desktop, search)) {
        ++count;
        result += '[' + std::to_string(count) + ']' + WindowHandleText(window.handle);
        result += kWindowTextLineEnd;
    }
    return result;
}

std::vector<std::string> ListTopLevelWindows(DesktopWindows& desktop) {
    std::vector<std::string> lines;
    for (const TitledWindow& window : TitledWindows(desktop)) {
        lines.push_back('[' + ThreeDigitCount(lines.size() + 1) + ']' +
                        WindowHandleText(window.handle) + '=' + OneLine(window.title));
    }
    return lines;
}

std::string OneLine(std::string_view text) {
    std::string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const std::string_view rest = text.substr(i);
        std::size_t control = 0; // bytes of a control character here
        if (byte < 0x20 || byte == 0x7F)
            control = 1;
        else if (rest.size() >= 2 && byte == 0xC2 && static_cast<unsigned char>(rest[1]) < 0xA0)
            control = 2; // U+0080 to U+009F
        else if (rest.starts_with("\u2028") || rest.starts_with("\u2029"))
            control = 3;
        if (control == 0) {
            line += text[i];
        } else {
            line += ' ';
            i += control - 1;
        }
    }
    return line;
}

std::string HandleOfListLine(std::string_view line) {
    const std::size_t bracket = line.find(']');
    if (bracket == std::string_view::npos)
        return {};
    const std::string_view rest = line.substr(bracket + 1);
    return std::string(rest.substr(0, rest.find('=')));
}

} // namespace huegrab
