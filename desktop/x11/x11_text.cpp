#include "desktop/x11/x11_text.h"

namespace huegrab::x11 {
namespace {

bool IsContinuationByte(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Length of the sequence a lead byte starts, 0 for a byte that cannot lead.
std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

} // namespace

std::string CutWindowText(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    if (text.size() <= kMaxWindowTextBytes)
        return std::string(text);
    std::size_t end = kMaxWindowTextBytes;
    // A UTF-8 character has at most three continuation bytes; stepping back
    // further means the text is not UTF-8 and is cut where it is.
    std::size_t back = 0;
    while (back < 3 && end - back > 0 &&
           IsContinuationByte(static_cast<unsigned char>(text[end - back])))
        ++back;
    if (back > 0 && !IsContinuationByte(static_cast<unsigned char>(text[end - back])))
        end -= back;
    return std::string(text.substr(0, end));
}

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = SequenceLength(lead);
        if (length == 0 || i + length > bytes.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            if (!IsContinuationByte(static_cast<unsigned char>(bytes[i + k])))
                return false;
        }
        if (length >= 3) {
            const auto second = static_cast<unsigned char>(bytes[i + 1]);
            // Overlong forms, UTF-16 surrogates and code points above U+10FFFF.
            if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
                (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F))
                return false;
        }
        i += length;
    }
    return true;
}

std::string StringPropertyToUtf8(std::string_view bytes) {
    if (IsValidUtf8(bytes))
        return std::string(bytes);
    std::string utf8;
    utf8.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

} // namespace huegrab::x11
