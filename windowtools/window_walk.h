#pragma once

#include "desktop/desktop_services.h"

#include <string>
#include <string_view>
#include <vector>

namespace huegrab {

// Both walks visit the top-level windows topmost first and pass over every
// window without a title: such a window is neither shown nor counted.

// "[k]handle" followed by CR LF for each window whose title contains
// `search` (exact, case-sensitive; the empty text is in every title), k
// counting the matches from 1. Empty when nothing matches.
std::string FindWindowsByTitle(DesktopServices& desktop, std::string_view search);

// One line "[kkk]handle=title" per titled window, kkk being the last three
// digits of the count from 001 (the 1000th window shows 000).
std::vector<std::string> ListTopLevelWindows(DesktopServices& desktop);

// The handle of a list line: what stands between its first "]" and the
// first "=" after it. Empty when the line has no "]".
std::string HandleOfListLine(std::string_view line);

} // namespace huegrab
