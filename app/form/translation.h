// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QCoreApplication;

namespace huegrab {

// The context of every caption, tooltip and message of the window in the
// translation files: the layout table's texts are its source texts.
inline constexpr char kFormContext[] = "Form1";

// Installs the English translation built into the program, for the
// application's lifetime. False (the captions stay Chinese) when it cannot
// be loaded.
bool InstallEnglishCaptions(QCoreApplication& application);

} // namespace huegrab
