// SPDX-License-Identifier: GPL-3.0-or-later
// Forgiving number reading and the short text forms of numbers.

#include "text/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <string>
#include <system_error>

namespace huegrab {
namespace {

constexpr double kLargest = std::numeric_limits<double>::max();
// Exponent digits beyond this are overflow or underflow anyway; the cap keeps
// the exponent arithmetic far from the 64-bit limits.
constexpr std::int64_t kExponentLimit = 1'000'000'000'000'000;

// Walks a text and skips blanks, tabs and line feeds wherever they stand.
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}

    // The next character that is not skipped, or '\0' at the end.
    char Peek() {
        while (pos_ < text_.size() && IsSkipped(text_[pos_])) {
            ++pos_;
        }
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }
    void Take() { ++pos_; }

    std::size_t Position() const { return pos_; }
    void Rewind(std::size_t pos) { pos_ = pos; }

private:
    static bool IsSkipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }

    std::string_view text_;
    std::size_t pos_ = 0;
};

int DigitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    }
    return value < base ? value : -1;
}

// The digits of `base` at the cursor, without leading zeros.
std::string TakeSignificantDigits(Cursor& cursor, int base) {
    std::string digits;
    for (char c = cursor.Peek(); DigitValue(c, base) >= 0; c = cursor.Peek()) {
        if (!(digits.empty() && c == '0')) {
            digits.push_back(c);
        }
        cursor.Take();
    }
    return digits;
}

// Octal digits regrouped into hexadecimal digits, three bits per octal digit.
std::string OctalToHex(std::string_view octal) {
    std::string bits;
    bits.reserve(octal.size() * 3 + 3);
    for (char c : octal) {
        const int digit = c - '0';
        bits.push_back('0' + ((digit >> 2) & 1));
        bits.push_back('0' + ((digit >> 1) & 1));
        bits.push_back('0' + (digit & 1));
    }
    bits.insert(0, (4 - bits.size() % 4) % 4, '0');
    std::string hex;
    hex.reserve(bits.size() / 4);
    for (std::size_t i = 0; i < bits.size(); i += 4) {
        const int nibble = (bits[i] - '0') * 8 + (bits[i + 1] - '0') * 4 + (bits[i + 2] - '0') * 2 +
                           (bits[i + 3] - '0');
        hex.push_back("0123456789ABCDEF"[nibble]);
    }
    return hex;
}

// Hexadecimal digits (no leading zeros) as a double, correctly rounded;
// beyond the double range the largest double.
double HexDigitsToDouble(std::string_view hex) {
    if (hex.empty()) {
        return 0.0;
    }
    if (hex.size() > 260) { // more than 1040 bits
        return kLargest;
    }
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(hex.data(), hex.data() + hex.size(), value, std::chars_format::hex);
    if (error != std::errc{} || end != hex.data() + hex.size()) {
        return kLargest;
    }
    return value;
}

double ReadRadixNumber(Cursor& cursor, int base) {
    const std::string digits = TakeSignificantDigits(cursor, base);
    return HexDigitsToDouble(base == 16 ? digits : OctalToHex(digits));
}

// Digits "d.ddd" with an optional exponent; the sign is already taken.
double ReadDecimalMagnitude(Cursor& cursor) {
    std::string integer;
    bool anyDigit = false;
    for (char c = cursor.Peek(); c >= '0' && c <= '9'; c = cursor.Peek()) {
        anyDigit = true;
        if (!(integer.empty() && c == '0')) {
            integer.push_back(c);
        }
        cursor.Take();
    }
    std::string fraction;
    if (cursor.Peek() == '.') {
        cursor.Take();
        for (char c = cursor.Peek(); c >= '0' && c <= '9'; c = cursor.Peek()) {
            anyDigit = true;
            fraction.push_back(c);
            cursor.Take();
        }
    }
    if (!anyDigit) {
        return 0.0;
    }

    // An exponent counts only when at least one digit follows "e".
    std::int64_t exponent = 0;
    if (const char e = cursor.Peek(); e == 'e' || e == 'E') {
        const std::size_t beforeExponent = cursor.Position();
        cursor.Take();
        bool negative = false;
        if (const char sign = cursor.Peek(); sign == '+' || sign == '-') {
            negative = sign == '-';
            cursor.Take();
        }
        bool anyExponentDigit = false;
        for (char c = cursor.Peek(); c >= '0' && c <= '9'; c = cursor.Peek()) {
            anyExponentDigit = true;
            exponent = std::min<std::int64_t>(exponent * 10 + (c - '0'), kExponentLimit);
            cursor.Take();
        }
        if (anyExponentDigit) {
            exponent = negative ? -exponent : exponent;
        } else {
            exponent = 0;
            cursor.Rewind(beforeExponent);
        }
    }

    // Normalise to 0.DDDD x 10^scale with D the significant digits.
    std::string significant = integer;
    std::int64_t scale = static_cast<std::int64_t>(integer.size());
    if (integer.empty()) {
        const std::size_t firstNonZero = fraction.find_first_not_of('0');
        if (firstNonZero == std::string::npos) {
            return 0.0;
        }
        scale = -static_cast<std::int64_t>(firstNonZero);
        significant = fraction.substr(firstNonZero);
    } else {
        significant += fraction;
    }
    scale += exponent;
    if (scale > 310) {
        return kLargest;
    }
    if (scale < -330) {
        return 0.0;
    }

    std::string text = "0." + significant + "e" + std::to_string(scale);
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        return scale > 0 ? kLargest : 0.0;
    }
    return value;
}

} // namespace

double ReadLeadingNumber(std::string_view text) {
    Cursor cursor(text);
    const char first = cursor.Peek();
    if (first == '&') {
        cursor.Take();
        const char kind = cursor.Peek();
        if (kind == 'H' || kind == 'h') {
            cursor.Take();
            return ReadRadixNumber(cursor, 16);
        }
        if (kind == 'O' || kind == 'o') {
            cursor.Take();
            return ReadRadixNumber(cursor, 8);
        }
        return 0.0;
    }
    bool negative = false;
    if (first == '+' || first == '-') {
        negative = first == '-';
        cursor.Take();
    }
    const double magnitude = ReadDecimalMagnitude(cursor);
    return negative ? -magnitude : magnitude;
}

std::string FormatShortestDouble(double value) {
    if (value == 0.0) {
        return "0"; // also for -0.0
    }
    std::array<char, 64> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::general, 15);
    if (error != std::errc{}) {
        return "0"; // cannot happen: 64 characters hold any 15-digit form
    }
    return std::string(buffer.data(), end);
}

std::string DecimalText(std::int64_t value) {
    std::array<char, 24> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    (void)error; // 24 characters hold every 64-bit value
    return std::string(buffer.data(), end);
}

} // namespace huegrab
