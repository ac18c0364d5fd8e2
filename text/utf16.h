// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace huegrab {

// What becomes of a surrogate without its partner.
enum class UnpairedSurrogates {
    Fail,    // the text does not decode (a settings file that must not be rewritten wrongly)
    Replace, // each one becomes U+FFFD, as the system's own conversion does
};

// UTF-16 code units to UTF-8, every unit as it stands: a NUL or a byte-order
// mark is a character like any other. nullopt only with
// UnpairedSurrogates::Fail and a surrogate that has no partner.
std::optional<std::string> Utf16ToUtf8(std::u16string_view units, UnpairedSurrogates unpaired);

// The lenient form, which always decodes.
inline std::string Utf16ToUtf8Lenient(std::u16string_view units) {
    return *Utf16ToUtf8(units, UnpairedSurrogates::Replace);
}

// UTF-8 to UTF-16, strictly: nullopt for bytes that are not UTF-8 (overlong
// forms, encoded surrogates, code points past U+10FFFF, a cut character).
std::optional<std::u16string> Utf8ToUtf16(std::string_view text);

} // namespace huegrab
