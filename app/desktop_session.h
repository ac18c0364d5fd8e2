#pragma once

class QWidget;

namespace huegrab {

// A Wayland session runs the program through XWayland: the window must then
// be an X11 window too, so that it and the desktop reads speak to one X
// server. Call before QApplication exists; true on a Wayland session.
bool UseX11OnWayland();

// Qt takes "-display NAME" (or "--display NAME") from the command line for
// its window; the desktop reads must go to the same X server, so the name
// becomes DISPLAY for both. Call before the desktop and QApplication exist.
void UseTheDisplayOfTheCommandLine(int argc, char** argv);

// What works less on a Wayland session, said once on stderr and in the
// tooltip of the status lamp.
void NoteWaylandLimits(QWidget& statusLamp);

} // namespace huegrab
