// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/shell_services.h"

namespace huegrab {

// The clipboard (the CLIPBOARD selection) and links through Qt.
class QtShell final : public ShellServices {
public:
    std::optional<std::string> ClipboardText() override;
    void SetClipboardText(const std::string& text) override;
    void ClearClipboard() override;
    void OpenUrl(const std::string& url) override;
};

} // namespace huegrab
