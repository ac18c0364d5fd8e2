#pragma once

#include "desktop/desktop_services.h"

#include <memory>
#include <string>

namespace huegrab {

// Opens the desktop of the backend this build was made for (X11 on Linux,
// Win32 on Windows). On failure it returns nullptr and puts into `whyNot`
// one or two lines for a person at a terminal.
std::unique_ptr<DesktopServices> OpenDesktop(std::string& whyNot);

} // namespace huegrab
