// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace huegrab {

// What the program asks of the desktop session beside the screen: the
// clipboard and opening links. Text is UTF-8.
class ShellServices {
public:
    virtual ~ShellServices() = default;
    // Empty when the clipboard holds data but no text; nullopt when it
    // cannot be read (nothing owns it, or its owner does not answer), and a
    // paste then leaves its field as it was.
    virtual std::optional<std::string> ClipboardText() = 0;
    virtual void SetClipboardText(const std::string& text) = 0;
    virtual void ClearClipboard() = 0;
    virtual void OpenUrl(const std::string& url) = 0;
};

} // namespace huegrab
