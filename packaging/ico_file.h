// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <vector>

namespace huegrab {

// A Windows .ico holding the images (each at most 255 pixels a side) as
// uncompressed 32-bit bitmaps with their transparency masks: the same pixels
// always give the same bytes, so a committed copy can be compared.
QByteArray IcoFile(const std::vector<QImage>& images);

} // namespace huegrab
