// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/x11/x11_text.h"

#include "text/unicode.h"

#include <algorithm>

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

// The second byte's range shuts out overlong forms (E0, F0), UTF-16
// surrogates (ED) and code points above U+10FFFF (F4).
bool SecondByteFits(unsigned char lead, unsigned char second) {
    switch (lead) {
    case 0xE0:
        return second >= 0xA0 && second <= 0xBF;
    case 0xED:
        return second >= 0x80 && second <= 0x9F;
    case 0xF0:
        return second >= 0x90 && second <= 0xBF;
    case 0xF4:
        return second >= 0x80 && second <= 0x8F;
    default:
        return IsContinuationByte(second);
    }
}

struct Step {
    std::size_t length; // bytes taken from the text
    bool valid;         // a whole character; otherwise one replacement stands for them
};

// The character at text[i], or the longest start of one that goes wrong
// there (the "maximal subpart" that one U+FFFD replaces, as browsers do).
Step StepAt(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = SequenceLength(lead);
    if (length == 0)
        return {1, false};
    for (std::size_t k = 1; k < length; ++k) {
        if (i + k >= text.size())
            return {k, false};
        const auto byte = static_cast<unsigned char>(text[i + k]);
        if (!(k == 1 ? SecondByteFits(lead, byte) : IsContinuationByte(byte)))
            return {k, false};
    }
    return {length, true};
}

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD"; // U+FFFD

} // namespace

std::string CutWindowText(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::string cut;
    cut.reserve(std::min(text.size(), kMaxWindowTextBytes));
    for (std::size_t i = 0; i < text.size();) {
        const Step step = StepAt(text, i);
        const std::string_view piece =
            step.valid ? text.substr(i, step.length) : kReplacementCharacter;
        if (cut.size() + piece.size() > kMaxWindowTextBytes)
            break; // whole characters only
        cut += piece;
        i += step.length;
    }
    return cut;
}

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const Step step = StepAt(bytes, i);
        if (!step.valid)
            return false;
        i += step.length;
    }
    return true;
}

std::string StringPropertyToUtf8(std::string_view bytes) {
    if (IsValidUtf8(bytes))
        return std::string(bytes);
    std::string utf8;
    utf8.reserve(bytes.size() * 2);
    for (const char c : bytes)
        AppendUtf8(utf8, static_cast<unsigned char>(c)); // Latin-1 is U+0000 to U+00FF
    return utf8;
}

} // namespace huegrab::x11
