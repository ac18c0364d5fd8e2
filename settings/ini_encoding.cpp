#include "settings/ini_encoding.h"

#include "color/unicode.h"

#include <cstdint>

namespace huegrab {
namespace {

constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

void AppendUtf16(std::string& out, std::uint32_t unit, bool bigEndian) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
}

std::optional<std::string> Utf16ToUtf8(std::string_view bytes, bool bigEndian, bool complete) {
    if (!complete)
        bytes = bytes.substr(0, bytes.size() & ~std::size_t{1}); // a cut-off half unit
    else if (bytes.size() % 2 != 0)
        return std::nullopt;
    const auto unitAt = [&](std::size_t i) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? std::uint32_t{first} << 8 | second : std::uint32_t{second} << 8 | first;
    };
    std::string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const std::uint32_t unit = unitAt(i);
        if (IsHighSurrogate(unit)) {
            if (i + 2 >= bytes.size() && !complete)
                break; // its pair was cut off
            if (i + 2 >= bytes.size() || !IsLowSurrogate(unitAt(i + 2)))
                return std::nullopt;
            AppendUtf8(text, FromSurrogates(unit, unitAt(i + 2)));
            i += 2;
        } else if (IsLowSurrogate(unit)) {
            return std::nullopt;
        } else {
            AppendUtf8(text, unit);
        }
    }
    return text;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
std::optional<std::string> Utf8ToUtf16(std::string_view text, bool bigEndian) {
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80                   ? 1
                           : lead >= 0xC2 && lead < 0xE0 ? 2
                           : lead >= 0xE0 && lead < 0xF0 ? 3
                           : lead >= 0xF0 && lead < 0xF5 ? 4
                                                         : 0;
        if (length == 0 || i + static_cast<std::size_t>(length) > text.size())
            return std::nullopt;
        std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            code = code << 6 | (next & 0x3F);
        }
        const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < least[length] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000))
            return std::nullopt;
        if (code >= 0x10000) {
            AppendUtf16(out, 0xD800 + ((code - 0x10000) >> 10), bigEndian);
            AppendUtf16(out, 0xDC00 + ((code - 0x10000) & 0x3FF), bigEndian);
        } else {
            AppendUtf16(out, code, bigEndian);
        }
        i += static_cast<std::size_t>(length);
    }
    return out;
}

} // namespace

std::optional<IniText> DecodeIniText(std::string bytes, bool complete) {
    IniText decoded;
    const bool littleEndian = bytes.starts_with(kUtf16LeMark);
    if (littleEndian || bytes.starts_with(kUtf16BeMark)) {
        std::optional<std::string> text =
            Utf16ToUtf8(std::string_view(bytes).substr(2), !littleEndian, complete);
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
    std::optional<std::string> units = Utf8ToUtf16(text.text, bigEndian);
    if (!units)
        return std::nullopt;
    return std::string(bigEndian ? kUtf16BeMark : kUtf16LeMark) + *units;
}

} // namespace huegrab
