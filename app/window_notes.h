// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/hotkey_text.h"

#include <string>

namespace huegrab {

struct TrackingView;

// Names the hotkey where the user looks for it: the lamp's tooltip and the
// caption beside the start/stop box. When it could not be registered, both
// say that the key is in use and how to free or change it. Replaces the
// lamp's tooltip: call before the notes below are added.
void ShowHotkeyState(const TrackingView& view, const HotkeyKeys& keys, bool registered);

// Adds a line to the lamp's tooltip, in plain words; stderr has the details.
// The settings file cannot be written (slots of this session are lost):
void NoteSettingsNotWritable(const TrackingView& view, const std::string& path);
// The settings moved from beside the program into the user's own folder:
void NoteSettingsMoved(const TrackingView& view, const std::string& newPath);

} // namespace huegrab
