// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/desktop_windows.h"

#include <string>
#include <string_view>
#include <vector>

namespace huegrab {

// Both walks visit the top-level windows topmost first and pass over every
// window without a title: such a window is neither shown nor counted.

// How the search result, the list as the CLI prints it and the list's copy
// end their lines: as the platform's own text does.
#ifdef _WIN32
inline constexpr std::string_view kWindowTextLineEnd = "\r\n";
#else
inline constexpr std::string_view kWindowTextLineEnd = "\n";
#endif

// The titled top-level windows, topmost first, titles by the window-text
// rule.
std::vector<TitledWindow> TitledWindows(DesktopWindows& desktop);
// Those whose title contains `search`: exact, case-sensitive; the empty
// text is in every title.
std::vector<TitledWindow> WindowsWithTitle(DesktopWindows& desktop, std::string_view search);

// "[k]handle" followed by kWindowTextLineEnd for each window whose title
// contains `search` (as WindowsWithTitle matches), k counting the matches
// from 1. Empty when nothing matches.
std::string FindWindowsByTitle(DesktopWindows& desktop, std::string_view search);

// One line "[kkk]handle=title" per titled window, kkk being the last three
// digits of the count from 001 (the 1000th window shows 000). The title is
// made one line (see OneLine), so that no title can forge entries.
std::vector<std::string> ListTopLevelWindows(DesktopWindows& desktop);

// Another program's title or class as one line of text: its line breaks
// and other control characters become spaces, so that a title can never
// add lines (or forge entries) of its own. Among them are the C1 controls
// (NEL is one) and Unicode's line and paragraph separators, at which many
// readers split lines too. Valid UTF-8 stays valid.
std::string OneLine(std::string_view text);

// The handle of a list line: what stands between its first "]" and the
// first "=" after it. Empty when the line has no "]".
std::string HandleOfListLine(std::string_view line);

} // namespace huegrab
