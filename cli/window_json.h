// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/desktop_windows.h"

#include <string>
#include <string_view>
#include <vector>

namespace huegrab::cli {

// `text` as a JSON string, quotes included: quotes, backslashes and control
// characters escaped, so that no title can break the document or forge a
// field; bytes that are not UTF-8 become U+FFFD, so that the document stays
// valid UTF-8 whatever another program put into its title.
std::string JsonString(std::string_view text);

// A window as the window commands print it with --json:
// {"handle":N,"title":"…","class":"…"}, the handle a number.
struct WindowDescription {
    WindowHandle handle = 0;
    WindowNames names;
};
std::string WindowJson(const WindowDescription& window);
// The windows as one JSON array, in their order.
std::string WindowsJson(const std::vector<WindowDescription>& windows);

} // namespace huegrab::cli
