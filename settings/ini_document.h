// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace huegrab {

// The most a read returns: the desktop's readers pass a 2048-byte buffer, one
// byte of which holds the terminating NUL.
inline constexpr std::size_t kMaxSettingValueBytes = 2047;

// One key and the value to store under it.
struct IniKeyValue {
    std::string key;
    std::string value;
};

// An INI file held as its exact bytes and read and edited with the rules of
// the desktop's profile functions (GetPrivateProfileStringA and
// WritePrivateProfileStringA), so that files either side wrote read the same
// on both:
//
// Reading
// - Lines end with CR LF, LF or a lone CR; the last line needs no line end.
//   A UTF-8 byte-order mark at the very start is skipped.
// - A line whose first non-blank character is ";" is a comment.
// - A line whose first non-blank character is "[" is a section header. The
//   name runs to the first "]" (or to the line end when there is none), blanks
//   around it are ignored and text after the "]" is ignored: "[ P3 ] x" is P3.
// - Any other line holding "=" is a key line: the key is the text before the
//   first "=", the value the text after it, both without surrounding blanks.
//   A value of two or more characters that starts and ends with the same quote
//   character (" or ') is read without those two quotes. Other lines are kept
//   but hold no key, and lines before the first header belong to no section.
// - Section and key names match without regard to ASCII letter case. Only the
//   first section of a name counts, and within it only the first key of a
//   name: a later duplicate is never read nor written.
// - Blanks are space, tab, vertical tab and form feed. NUL and any other byte
//   are ordinary characters, so a binary file reads without harm.
//
// Writing
// - An existing key's line is replaced, with its line end, by
//   "<key as the file spells it>=<value>" CR LF; no other byte of the file
//   changes. As with the desktop's functions, a hand-written "x = old"
//   written as "X" becomes "x=new", and a section header is never rewritten:
//   "[p0]" stays "[p0]".
// - A new key goes right after the last key line of its section (right after
//   the header when it has none): comments and other lines that follow the
//   last key stay after the new one.
// - A new section goes at the end of the file as "[name]" CR LF followed by
//   its key line, with no blank line before it. A last line without a line
//   end first gets CR LF.
// - Names are written without surrounding blanks; the value is written as
//   given. Everything from the first NUL, CR or LF of a name or value on is
//   dropped, so a write can never add lines of its own.
class IniDocument {
public:
    IniDocument() = default;
    explicit IniDocument(std::string bytes) : bytes_(std::move(bytes)) {}

    // The file as it stands after the writes so far.
    const std::string& Bytes() const { return bytes_; }

    // The whole value of the key, quotes removed; nullopt when the section or
    // the key is not there.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;

    // What the desktop's string reader hands back: the value up to its first
    // NUL and at most kMaxSettingValueBytes bytes of it, or the empty text
    // when the section or key is missing.
    std::string Read(std::string_view section, std::string_view key) const;

    // Stores the value under the key, creating the section and the key as
    // needed. Returns false and changes nothing when the section or the key
    // name is empty (after dropping blanks).
    bool Write(std::string_view section, std::string_view key, std::string_view value);

private:
    std::string bytes_;
};

} // namespace huegrab
