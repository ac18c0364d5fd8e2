// SPDX-License-Identifier: GPL-3.0-or-later
// Where a control of the window lies, for scripts that look at the running
// program from outside: prints "X Y", the point just inside the control's
// top-left corner (clear of its border and of a centred caption) relative to
// the window's client area, in pixels at 96 DPI.
//
//   control_point NAME [INDEX]

#include "app/form/layout_table.h"

#include <cstdio>
#include <cstdlib>
#include <optional>

int main(int argc, char* argv[]) {
    using namespace huegrab;
    if (argc < 2 || argc > 3) {
        std::fputs("usage: control_point NAME [INDEX]\n", stderr);
        return 2;
    }
    const int index = argc == 3 ? std::atoi(argv[2]) : -1;
    const std::optional<TwipsRect> rect = ClientTwips({argv[1], index});
    if (!rect) {
        std::fprintf(stderr, "control_point: no control %s(%d)\n", argv[1], index);
        return 1;
    }
    std::printf("%d %d\n", TwipsToPixels(rect->left) + 3, TwipsToPixels(rect->top) + 3);
    return 0;
}
