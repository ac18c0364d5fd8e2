// SPDX-License-Identifier: GPL-3.0-or-later
// The forgiving number reader and the short number texts.

#include "text/number_text.h"

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <string_view>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace huegrab {
namespace {

constexpr double kLargest = std::numeric_limits<double>::max();

TEST(ReadLeadingNumber, DecimalFormsAndWhereReadingStops) {
    EXPECT_EQ(ReadLeadingNumber("10.5"), 10.5);
    EXPECT_EQ(ReadLeadingNumber("-7"), -7.0);
    EXPECT_EQ(ReadLeadingNumber("+7"), 7.0);
    EXPECT_EQ(ReadLeadingNumber("- 7"), -7.0);
    EXPECT_EQ(ReadLeadingNumber("12abc"), 12.0);
    EXPECT_EQ(ReadLeadingNumber("123,456"), 123.0);
    EXPECT_EQ(ReadLeadingNumber("1.2.3"), 1.2);
    EXPECT_EQ(ReadLeadingNumber(".5"), 0.5);
    EXPECT_EQ(ReadLeadingNumber("0.1"), 0.1);
    EXPECT_EQ(ReadLeadingNumber("00042"), 42.0);
    EXPECT_EQ(ReadLeadingNumber("123456789012345678901234567890"), 1.2345678901234568e29);
    EXPECT_EQ(ReadLeadingNumber("1e3"), 1000.0);
    EXPECT_EQ(ReadLeadingNumber("1.5E-2"), 0.015);
    EXPECT_EQ(ReadLeadingNumber("2.5e+1x"), 25.0);
    EXPECT_EQ(ReadLeadingNumber("12e"), 12.0);
    EXPECT_EQ(ReadLeadingNumber("12e+"), 12.0);
    EXPECT_EQ(ReadLeadingNumber("12ex5"), 12.0);
}

TEST(ReadLeadingNumber, BlanksTabsAndLineFeedsAreSkippedAnywhere) {
    EXPECT_EQ(ReadLeadingNumber(" 1 2 "), 12.0);
    EXPECT_EQ(ReadLeadingNumber("\t1\n2 . 5"), 12.5);
    EXPECT_EQ(ReadLeadingNumber("1 e 3"), 1000.0);
    EXPECT_EQ(ReadLeadingNumber("& h 1 f"), 31.0);
    // A carriage return is not skipped: it ends the number.
    EXPECT_EQ(ReadLeadingNumber("12\r\n3"), 12.0);
    EXPECT_EQ(ReadLeadingNumber("123\r\n"), 123.0);
}

TEST(ReadLeadingNumber, TextWithoutALeadingNumberIsZero) {
    for (const char* text : {"", "   ", "abc", "-", "+", ".", "-.", "--7", "+-7", "e5", "&", "&H",
                             "&Hxyz", "&X1", "&O8", "-&H10", "x12", "\r5"}) {
        const double value = ReadLeadingNumber(text);
        EXPECT_EQ(value, 0.0) << '"' << text << '"';
    }
}

TEST(ReadLeadingNumber, HexadecimalAndOctal) {
    EXPECT_EQ(ReadLeadingNumber("&H1F"), 31.0);
    EXPECT_EQ(ReadLeadingNumber("&h1fz"), 31.0);
    EXPECT_EQ(ReadLeadingNumber("&HFFFFFFFF"), 4294967295.0);
    EXPECT_EQ(ReadLeadingNumber("&H1G"), 1.0);
    EXPECT_EQ(ReadLeadingNumber("&O17"), 15.0);
    EXPECT_EQ(ReadLeadingNumber("&o777"), 511.0);
    EXPECT_EQ(ReadLeadingNumber("&O178"), 15.0);
    EXPECT_EQ(ReadLeadingNumber("&H" + std::string(40, '0') + "10"), 16.0);
    EXPECT_EQ(ReadLeadingNumber("&H1" + std::string(39, '0')), std::ldexp(1.0, 156));
    EXPECT_EQ(ReadLeadingNumber("&H" + std::string(40, 'F')), std::ldexp(1.0, 160));
    EXPECT_EQ(ReadLeadingNumber("&O1" + std::string(300, '0')), std::ldexp(1.0, 900));
    // 2^53 + 1 is not a double: rounds to even, 2^53.
    EXPECT_EQ(ReadLeadingNumber("&H20000000000001"), std::ldexp(1.0, 53));
    EXPECT_EQ(ReadLeadingNumber("&O400000000000000001"), std::ldexp(1.0, 53));
}

TEST(ReadLeadingNumber, HugeAndTinyInputsStayFinite) {
    const std::string manyDigits(10'000, '9');
    EXPECT_EQ(ReadLeadingNumber(manyDigits), kLargest);
    EXPECT_EQ(ReadLeadingNumber("-" + manyDigits), -kLargest);
    EXPECT_EQ(ReadLeadingNumber("&H" + std::string(10'000, 'F')), kLargest);
    EXPECT_EQ(ReadLeadingNumber("&O" + std::string(10'000, '7')), kLargest);
    EXPECT_EQ(ReadLeadingNumber("1e400"), kLargest);
    EXPECT_EQ(ReadLeadingNumber("-1e400"), -kLargest);
    EXPECT_EQ(ReadLeadingNumber("1e99999999999999999999999999"), kLargest);
    EXPECT_EQ(ReadLeadingNumber("1e-400"), 0.0);
    // Just past either end of the double range.
    EXPECT_EQ(ReadLeadingNumber("1.8e308"), kLargest);
    EXPECT_EQ(ReadLeadingNumber("-1e-330"), 0.0);
    EXPECT_EQ(ReadLeadingNumber("1e-99999999999999999999999999"), 0.0);
    EXPECT_EQ(ReadLeadingNumber("0." + std::string(10'000, '0') + "1"), 0.0);
    // Many digits, then an exponent that brings the value back into range.
    EXPECT_EQ(ReadLeadingNumber("1" + std::string(1000, '0') + "e-998"), 100.0);
    EXPECT_EQ(ReadLeadingNumber("0." + std::string(1000, '0') + "25e1002"), 25.0);
    EXPECT_EQ(ReadLeadingNumber("1.7976931348623157e308"), kLargest);
    EXPECT_EQ(ReadLeadingNumber("4.9406564584124654e-324"),
              std::numeric_limits<double>::denorm_min());
}

TEST(FormatShortestDouble, WholeNumbersAndFifteenDigits) {
    EXPECT_EQ(FormatShortestDouble(150.0), "150");
    EXPECT_EQ(FormatShortestDouble(-3.0), "-3");
    EXPECT_EQ(FormatShortestDouble(0.0), "0");
    EXPECT_EQ(FormatShortestDouble(-0.0), "0");
    EXPECT_EQ(FormatShortestDouble(239.5), "239.5");
    EXPECT_EQ(FormatShortestDouble(-0.25), "-0.25");
    EXPECT_EQ(FormatShortestDouble(0.1 + 0.2), "0.3");
    EXPECT_EQ(FormatShortestDouble(100.0 - 0.001), "99.999");
    EXPECT_EQ(FormatShortestDouble(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(FormatShortestDouble(2.0 / 3.0), "0.666666666666667");
    EXPECT_EQ(FormatShortestDouble(123456789012345.0), "123456789012345");
    EXPECT_EQ(FormatShortestDouble(-2147483648.0), "-2147483648");
    EXPECT_EQ(FormatShortestDouble(0.0001), "0.0001");
}

TEST(FormatShortestDouble, ExponentFormOutsideOrdinaryMagnitudes) {
    EXPECT_EQ(FormatShortestDouble(1e15), "1e+15");
    EXPECT_EQ(FormatShortestDouble(-1234567890123456789.0), "-1.23456789012346e+18");
    EXPECT_EQ(FormatShortestDouble(0.00001), "1e-05");
    EXPECT_EQ(FormatShortestDouble(-2.5e-7), "-2.5e-07");
    EXPECT_EQ(FormatShortestDouble(kLargest), "1.79769313486232e+308");
    EXPECT_EQ(FormatShortestDouble(std::numeric_limits<double>::infinity()), "inf");
    EXPECT_EQ(FormatShortestDouble(-std::numeric_limits<double>::infinity()), "-inf");
    // What it writes reads back as the same 15-digit number.
    for (double v : {1e15, -2.5e-7, 1.0 / 3.0, 1e300, 6.02214076e23}) {
        const double back = ReadLeadingNumber(FormatShortestDouble(v));
        EXPECT_NEAR(back, v, std::abs(v) * 1e-14) << v;
    }
}

bool UsesADecimalComma(const char* locale) {
    return std::setlocale(LC_ALL, locale) != nullptr &&
           std::string_view(std::localeconv()->decimal_point) == ",";
}

// Switches to a locale whose decimal separator is a comma: an installed
// one, or else de_DE compiled into a private folder, where glibc finds it
// through LOCPATH (most Linux machines, CI's among them, install none).
bool SwitchToADecimalCommaLocale() {
    for (const char* name :
         {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8", "de-DE", "German"}) {
        if (UsesADecimalComma(name))
            return true;
    }
#ifdef _WIN32
    return false;
#else
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("huegrab-locale-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string compile =
        "localedef -i de_DE -f UTF-8 '" + (folder / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
    [[maybe_unused]] const int status = std::system(compile.c_str()); // warnings give 1
    ::setenv("LOCPATH", folder.c_str(), 1);
    const bool switched = UsesADecimalComma("de_DE.UTF-8");
    std::filesystem::remove_all(folder); // a locale once loaded stays usable
    return switched;
#endif
}

TEST(FormatShortestDouble, IgnoresTheCLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!SwitchToADecimalCommaLocale()) {
        std::setlocale(LC_ALL, previous.c_str());
        GTEST_SKIP() << "no locale with a decimal comma, and localedef could not make one";
    }
    const std::string text = FormatShortestDouble(239.5);
    const double read = ReadLeadingNumber("10.5");
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(text, "239.5");
    EXPECT_EQ(read, 10.5);
}

TEST(DecimalText, PlainDigitsWithMinus) {
    EXPECT_EQ(DecimalText(0), "0");
    EXPECT_EQ(DecimalText(255), "255");
    EXPECT_EQ(DecimalText(-1), "-1");
    EXPECT_EQ(DecimalText(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(DecimalText(std::numeric_limits<std::int64_t>::max()), "9223372036854775807");
}

} // namespace
} // namespace huegrab
