// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

namespace huegrab::wayland {

// An owner for a C library's object that its own function destroys:
// Owned<wl_display, wl_display_disconnect>.
template <class T, void (*Destroy)(T*)> struct Deleter {
    void operator()(T* object) const { Destroy(object); }
};
template <class T, void (*Destroy)(T*)> using Owned = std::unique_ptr<T, Deleter<T, Destroy>>;

} // namespace huegrab::wayland
