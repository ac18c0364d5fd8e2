// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/x11/x11_resources.h"

namespace huegrab::x11 {

bool HasProperty(Display* display, Window window, Atom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long bytesAfter = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, window, property, 0, 0, False, AnyPropertyType,
                                          &type, &format, &count, &bytesAfter, &data);
    XFreePtr<unsigned char> owner(data);
    return status == Success && type != None;
}

} // namespace huegrab::x11
