// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/standard_streams.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace huegrab::platform {

// Windows hands a program without a standard stream an invalid handle, not
// a free number another file could take: writes to it fail, and the flush
// at the end reports that.
bool OpenClosedStandardStreams() {
    return false;
}

void UseBinaryOutput() {
    // Without a standard output handle the stream has no descriptor (-2),
    // which _setmode must not be given.
    if (const int descriptor = _fileno(stdout); descriptor >= 0)
        _setmode(descriptor, _O_BINARY);
}

} // namespace huegrab::platform
