// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace huegrab {

// How a settings file's text is stored. Files saved as "Unicode" by a
// Windows editor are UTF-16 with a byte-order mark; the desktop's profile
// functions read and write those in their own encoding, and so do we.
enum class IniEncoding {
    Bytes,   // 8-bit text, read as it stands (UTF-8 or a code page)
    Utf16Le, // FF FE, then UTF-16 little-endian
    Utf16Be, // FE FF, then UTF-16 big-endian
};

// A settings file's text in the form the INI rules work on: UTF-8 for a
// UTF-16 file (its mark dropped), the bytes themselves otherwise.
struct IniText {
    std::string text;
    IniEncoding encoding = IniEncoding::Bytes;
};

// The text of a file's bytes. `complete` is false when a read limit cut the
// file off: the last line, which may have lost its end, is then dropped, so
// that a cut "C=16711680" never reads as "C=167". nullopt for a UTF-16 file
// that does not decode (a lone surrogate, an odd byte count).
std::optional<IniText> DecodeIniText(std::string bytes, bool complete = true);

// The file's bytes for an edited text, in the encoding it was read in.
// nullopt when a UTF-16 file's text is not valid UTF-8.
std::optional<std::string> EncodeIniText(IniText text);

} // namespace huegrab
