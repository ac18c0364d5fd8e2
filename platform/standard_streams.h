// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace huegrab::platform {

// Opens the null device on any of the standard streams (0, 1, 2) that a
// caller left closed, so that no file the program opens later - its X
// connection - takes a stream's number and receives its output. True when
// standard output was one of them: what the program prints then goes
// nowhere.
bool OpenClosedStandardStreams();

// Makes standard output carry the bytes written to it unchanged. Windows
// opens it in text mode, which would turn every "\n" into "\r\n" and the
// "\r\n" that ends a line of the window list into "\r\r\n".
void UseBinaryOutput();

} // namespace huegrab::platform
