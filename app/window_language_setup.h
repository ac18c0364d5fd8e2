// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

class QApplication;

namespace huegrab {

// Chooses the window's language from `--lang`, [Window] Language of
// config.ini (read only) and the locale, and installs the English captions
// when that is the choice. Before the window is built.
void SetUpWindowLanguage(QApplication& application, int argc, const char* const* argv,
                         const std::string& applicationFolder);

} // namespace huegrab
