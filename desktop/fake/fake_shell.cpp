// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/fake/fake_shell.h"

namespace huegrab {

void FakeShell::ClearClipboard() {
    clipboard.clear();
    ++clears;
}

} // namespace huegrab
