// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

namespace huegrab {

// Where a desktop keeps the user's consent to share the screen between
// runs: a Wayland desktop asks once (its share dialog) and hands back a
// token that skips the dialog the next time. Tokens are single-use, so the
// newest one is stored after every share. Either function may be empty:
// nothing is kept, and the dialog shows on every start.
struct ScreenShareConsent {
    std::function<std::string()> load;
    std::function<void(const std::string& token)> store;
};

} // namespace huegrab
