// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/shell_services.h"

#include <vector>

namespace huegrab {

// Clipboard and links held in memory for tests.
class FakeShell final : public ShellServices {
public:
    std::string clipboard;
    bool clipboardUnreadable = false; // ClipboardText() gives nullopt
    std::vector<std::string> openedUrls;
    int clears = 0;

    std::optional<std::string> ClipboardText() override {
        return clipboardUnreadable ? std::nullopt : std::optional<std::string>(clipboard);
    }
    void SetClipboardText(const std::string& text) override { clipboard = text; }
    void ClearClipboard() override;
    void OpenUrl(const std::string& url) override { openedUrls.push_back(url); }
};

} // namespace huegrab
