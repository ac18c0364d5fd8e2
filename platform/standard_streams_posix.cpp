// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/standard_streams.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace huegrab::platform {

bool OpenClosedStandardStreams() {
    bool outputClosed = false;
    for (int stream = 0; stream <= 2; ++stream) {
        if (fcntl(stream, F_GETFD) != -1 || errno != EBADF)
            continue;
        // The lowest free number: this stream's, the ones below are open.
        const int opened = open("/dev/null", stream == 0 ? O_RDONLY : O_WRONLY);
        if (opened >= 0 && opened != stream) {
            dup2(opened, stream);
            close(opened);
        }
        outputClosed = outputClosed || stream == 1;
    }
    return outputClosed;
}

void UseBinaryOutput() {} // POSIX streams never translate

} // namespace huegrab::platform
