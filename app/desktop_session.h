// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace huegrab {

// A Wayland session runs the window through XWayland, whose X server gives
// it the hotkey: Qt must then make an X11 window. Call before QApplication
// exists; true on a Wayland session.
bool UseX11OnWayland();

// Qt takes "-display NAME" (or "--display NAME") from the command line for
// its window; the desktop reads must go to the same X server, so the name
// becomes DISPLAY for both. Call before the desktop and QApplication exist.
void UseTheDisplayOfTheCommandLine(int argc, char** argv);

// Qt hands the window's updates to the X server through shared memory, and
// before it paints over an area it handed on it waits a round trip for the
// server to be done reading it. Tracking repaints the same fields every
// tick, so that wait came every tick, where the few kilobytes a tick
// changes cost less sent over the connection. Call before QApplication
// exists; a QT_XCB_NO_MITSHM the user set is left as it is.
void SendWindowUpdatesOverTheConnection();
// Puts back what UseX11OnWayland and SendWindowUpdatesOverTheConnection set
// for Qt alone. Qt reads them once, when QApplication starts; the programs
// this one starts (the mail program, a browser) get the user's own values.
// Call once QApplication exists.
void GiveStartedProgramsTheUsersEnvironment();

// What works less on a Wayland session, said once on stderr and in the
// tooltip of the status lamp: the hotkey only while an X11 window has the
// focus, and, read through XWayland, black windows of Wayland programs.
void NoteWaylandLimits(QWidget& statusLamp, bool readsThroughXWayland);

} // namespace huegrab
