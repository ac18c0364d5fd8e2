// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/slot_texts.h"

#include "text/blank_text.h"

#include <charconv>
#include <limits>

namespace huegrab {
namespace {

constexpr std::uint32_t kLow24Mask = 0xFFFFFF;

std::string UpperHex(std::uint32_t value) {
    char digits[8] = {};
    const auto result = std::to_chars(digits, digits + sizeof digits, value, 16);
    std::string text(digits, result.ptr);
    for (char& c : text) {
        if (c >= 'a' && c <= 'f') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

} // namespace

std::optional<WholeNumber> ParseWholeNumber(std::string_view text) {
    text = TrimBlanks(text);
    WholeNumber number;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        number.negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        const auto digit = static_cast<std::uint64_t>(c - '0');
        number.low24 = static_cast<std::uint32_t>((number.low24 * 10ULL + digit) & kLow24Mask);
        if (number.tooLarge || number.magnitude > (kMax - digit) / 10) {
            number.tooLarge = true;
            number.magnitude = kMax;
        } else {
            number.magnitude = number.magnitude * 10 + digit;
        }
    }
    return number;
}

std::optional<ColorValue> StoredColorPaint(std::string_view text) {
    const std::optional<WholeNumber> number = ParseWholeNumber(text);
    if (!number) {
        return std::nullopt;
    }
    const bool inRange = !number->tooLarge &&
                         number->magnitude <= static_cast<std::uint64_t>(kMaxColor) &&
                         (!number->negative || number->magnitude == 0);
    return inRange ? static_cast<ColorValue>(number->magnitude) : ColorValue{0};
}

std::string StoredColorHexText(std::string_view text) {
    const std::optional<WholeNumber> number = ParseWholeNumber(text);
    if (!number) {
        return {};
    }
    const std::uint32_t low24 =
        number->negative ? ((kLow24Mask + 1 - number->low24) & kLow24Mask) : number->low24;
    return ColorToHexText(static_cast<ColorValue>(low24));
}

std::string ComponentHexText(std::string_view text) {
    const std::optional<WholeNumber> number = ParseWholeNumber(text);
    if (!number || number->tooLarge) {
        return {};
    }
    if (number->negative) {
        if (number->magnitude > 0x80000000ULL) {
            return {};
        }
        return UpperHex(static_cast<std::uint32_t>(0x100000000ULL - number->magnitude));
    }
    if (number->magnitude > 0xFFFFFFFFULL) {
        return {};
    }
    return UpperHex(static_cast<std::uint32_t>(number->magnitude));
}

} // namespace huegrab
