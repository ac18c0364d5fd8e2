#pragma once

class QWidget;

namespace huegrab {

// A Wayland session runs the program through XWayland: the window must then
// be an X11 window too, so that it and the desktop reads speak to one X
// server. Call before QApplication exists; true on a Wayland session.
bool UseX11OnWayland();

// What works less on a Wayland session, said once on stderr and in the
// tooltip of the status lamp.
void NoteWaylandLimits(QWidget& statusLamp);

} // namespace huegrab
