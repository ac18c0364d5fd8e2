// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/cursor_image_source.h"

#include <optional>
#include <windows.h>

namespace huegrab::win32 {

// The image of a cursor as DrawIconEx paints it at its own size, with its
// hot spot. Drawn once onto black and once onto white: over black each
// pixel is its premultiplied colour, and the difference to the white
// drawing gives its coverage. Pixels the cursor inverts come out opaque in
// the colour they give over black, so the image composited over black is
// exactly what DrawIcon leaves on a black surface. A handle without an image
// gives a transparent one (nothing is drawn), at the system cursor size.
std::optional<CursorImage> ReadCursorImage(HCURSOR cursor);

// Premultiplied ARGB of one pixel from its drawings over black and over
// white (both 0x00RRGGBB DIB words).
std::uint32_t PremultipliedFromDrawings(std::uint32_t overBlack, std::uint32_t overWhite);

} // namespace huegrab::win32
