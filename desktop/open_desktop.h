#pragma once

#include "desktop/desktop_services.h"

#include <memory>
#include <string>
#include <vector>

namespace huegrab {

// Opens the desktop of the backend this build was made for (X11 on Linux,
// Win32 on Windows). On failure it returns nullptr and puts into `whyNot`
// one or two lines for a person at a terminal.
std::unique_ptr<DesktopServices> OpenDesktop(std::string& whyNot);

// How the process ends when its desktop goes away while it runs (the X
// server quits): "<program>: lost the connection ..." on stderr, then exit
// with `status`. Call it before OpenDesktop. Without it, "huegrab" and 1.
// A Windows desktop does not go away under a running program.
void ExitWhenTheDesktopIsLost(const char* program, int status);

// For a program without a toolkit, first thing: on Windows a process that
// does not say it handles display scaling gets scaled coordinates and a
// scaled screen, not the pixels shown (the window program's QApplication
// says so for it). Nothing to do on X11, which scales nothing.
void UseDevicePixels();

// The arguments after the program name, as UTF-8 - the form the desktop's
// window titles come in. X11 hands them over as they are; on Windows argv
// is in the ANSI code page, so they come from the Unicode command line.
std::vector<std::string> ProgramArguments(int argc, char** argv);

} // namespace huegrab
