// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/hotkey_text.h"

#include <QString>
#include <string>

namespace huegrab {

struct TrackingView;

// Names the hotkey where the user looks for it: the lamp's tooltip and the
// caption beside the start/stop box. When it could not be registered, both
// say that the key is in use and how to free or change it. Replaces the
// lamp's tooltip: call before the notes below are added.
void ShowHotkeyState(const TrackingView& view, const HotkeyKeys& keys, bool registered);

// The desktop cannot register the hotkey at all: the caption says the key
// is unavailable, its tooltip and the lamp's say why. Replaces the lamp's
// tooltip, as ShowHotkeyState does.
void ShowHotkeyNotOffered(const TrackingView& view, const HotkeyKeys& keys,
                          const std::string& whyNot);

// A line that says what the window cannot do on this desktop: a translated
// lead-in with one %1, followed by the desktop's own words for why.
QString NotOfferedLine(const char* leadIn, const std::string& whyNot);

// Adds a line to the lamp's tooltip, in plain words; stderr has the details.
// The settings file cannot be written (slots of this session are lost):
void NoteSettingsNotWritable(const TrackingView& view, const std::string& path);
// The settings moved from beside the program into the user's own folder:
void NoteSettingsMoved(const TrackingView& view, const std::string& newPath);

// Adds a line to the lamp's tooltip with the desktop's reason.
// The desktop does not tell where the pointer is, so tracking shows nothing
// (the position line says why as well):
void NoteTrackingNotOffered(const TrackingView& view, const std::string& whyNot);
// Nor does it, but switching on lets the user click the point to read:
void NoteTrackingByClick(const TrackingView& view);
// The desktop does not let the arrow keys move the pointer:
void NoteNudgeNotOffered(const TrackingView& view, const std::string& whyNot);

} // namespace huegrab
