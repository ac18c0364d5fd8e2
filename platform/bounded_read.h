// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/files.h"

#include <algorithm>
#include <cstddef>
#include <optional>

namespace huegrab::platform {

// The reading loop of ReadFileBounded, the same on every platform.
// `readSome(buffer, size)` reads at most `size` bytes and gives how many it
// read (0 at the end of the file), or nullopt when the read failed. Room
// starts at `sizeHint` (the file's size when it was opened) and grows in
// steps should the file have grown since, never past `maxBytes`; one byte
// past the limit tells whether there was more.
template <class ReadSome>
std::optional<FileContents> ReadUpToLimit(std::size_t sizeHint, std::size_t maxBytes,
                                          ReadSome readSome) {
    FileContents contents;
    contents.bytes.resize(std::min(sizeHint, maxBytes));
    std::size_t filled = 0;
    while (true) {
        if (filled == contents.bytes.size()) {
            if (filled >= maxBytes) {
                char probe = 0;
                const std::optional<std::size_t> more = readSome(&probe, 1);
                if (!more)
                    return std::nullopt;
                contents.complete = *more == 0;
                break;
            }
            contents.bytes.resize(filled + std::min<std::size_t>(maxBytes - filled, 65536));
        }
        const std::optional<std::size_t> got =
            readSome(contents.bytes.data() + filled, contents.bytes.size() - filled);
        if (!got)
            return std::nullopt;
        if (*got == 0)
            break;
        filled += *got;
    }
    contents.bytes.resize(filled);
    return contents;
}

} // namespace huegrab::platform
