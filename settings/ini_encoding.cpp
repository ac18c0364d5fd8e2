// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ini_encoding.h"

#include "text/unicode.h"
#include "text/utf16.h"

namespace huegrab {
namespace {

constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

// The code units of UTF-16 bytes in the given byte order; an odd last byte
// is left out.
std::u16string UnitsOf(std::string_view bytes, bool bigEndian) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        units[i] = static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first);
    }
    return units;
}

std::string BytesOf(std::u16string_view units, bool bigEndian) {
    std::string bytes;
    bytes.reserve(units.size() * 2);
    for (const char16_t unit : units) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

std::optional<std::string> DecodeUtf16Bytes(std::string_view bytes, bool bigEndian, bool complete) {
    if (complete && bytes.size() % 2 != 0)
        return std::nullopt;
    std::u16string units = UnitsOf(bytes, bigEndian); // a cut-off half unit is dropped
    // A high surrogate at the end of a cut-off file lost its pair to the cut.
    if (!complete && !units.empty() && IsHighSurrogate(units.back()))
        units.pop_back();
    return Utf16ToUtf8(units, UnpairedSurrogates::Fail);
}

} // namespace

std::optional<IniText> DecodeIniText(std::string bytes, bool complete) {
    IniText decoded;
    const bool littleEndian = bytes.starts_with(kUtf16LeMark);
    if (littleEndian || bytes.starts_with(kUtf16BeMark)) {
        std::optional<std::string> text =
            DecodeUtf16Bytes(std::string_view(bytes).substr(2), !littleEndian, complete);
        if (!text)
            return std::nullopt;
        decoded.text = std::move(*text);
        decoded.encoding = littleEndian ? IniEncoding::Utf16Le : IniEncoding::Utf16Be;
    } else {
        decoded.text = std::move(bytes);
    }
    if (!complete)
        decoded.text.resize(decoded.text.find_last_of("\r\n") + 1); // npos + 1 is 0
    return decoded;
}

std::optional<std::string> EncodeIniText(IniText text) {
    if (text.encoding == IniEncoding::Bytes)
        return std::move(text.text);
    const bool bigEndian = text.encoding == IniEncoding::Utf16Be;
    const std::optional<std::u16string> units = Utf8ToUtf16(text.text);
    if (!units)
        return std::nullopt;
    return std::string(bigEndian ? kUtf16BeMark : kUtf16LeMark) + BytesOf(*units, bigEndian);
}

} // namespace huegrab
