#pragma once

#include <string>

namespace huegrab {

// What the program asks of the desktop session beside the screen: the
// clipboard and opening links. Text is UTF-8.
class ShellServices {
public:
    virtual ~ShellServices() = default;
    virtual std::string ClipboardText() = 0; // empty when it holds no text
    virtual void SetClipboardText(const std::string& text) = 0;
    virtual void ClearClipboard() = 0;
    virtual void OpenUrl(const std::string& url) = 0;
};

} // namespace huegrab
