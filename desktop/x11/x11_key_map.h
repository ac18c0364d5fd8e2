#pragma once

namespace huegrab::x11 {

// The X keysym for a Windows virtual-key code, 0 for a key this backend does
// not map. Covers the keys the program reads (arrows, the ` key) and the
// plain letters, digits, function and navigation keys.
unsigned long KeysymForVirtualKey(int virtualKey);

} // namespace huegrab::x11
