#pragma once

namespace huegrab::cli {

// Opens the null device on any of the standard streams (0, 1, 2) that a
// caller left closed, so that no file the program opens later - its X
// connection - takes a stream's number and receives its output. True when
// standard output was one of them: what the program prints then goes
// nowhere.
bool OpenClosedStandardStreams();

} // namespace huegrab::cli
