// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace huegrab::platform {

// For a program without a toolkit, first thing: on Windows a process that
// does not say it handles display scaling gets scaled coordinates and a
// scaled screen, not the pixels shown (the window program's QApplication
// says so for it). Nothing to do on X11, which scales nothing.
void UseDevicePixels();

} // namespace huegrab::platform
