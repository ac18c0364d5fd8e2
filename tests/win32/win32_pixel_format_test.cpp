// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/win32/win32_cursor.h"
#include "desktop/win32/win32_screen.h"

#include <gtest/gtest.h>

namespace huegrab::win32 {
namespace {

TEST(Win32PixelFormat, DibWordsBecomeBgrColorValues) {
    const struct {
        std::uint32_t word; // 0xAARRGGBB: bytes B, G, R, A in memory
        ColorValue color;   // 0x00BBGGRR
    } cases[] = {
        {0x00FF0000, 0x0000FF}, {0x0000FF00, 0x00FF00}, {0x000000FF, 0xFF0000},
        {0x00123456, 0x563412}, {0xFF123456, 0x563412}, {0xFFFFFFFF, 0xFFFFFF},
        {0x00000000, 0x000000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColorFromDibWord(c.word), c.color) << std::hex << c.word;
}

TEST(Win32PixelFormat, DrawingsOverBlackAndWhiteGivePremultipliedPixels) {
    const struct {
        const char* name;
        std::uint32_t overBlack;
        std::uint32_t overWhite;
        std::uint32_t argb;
    } cases[] = {
        {"transparent", 0x000000, 0xFFFFFF, 0x00000000},
        {"opaque black", 0x000000, 0x000000, 0xFF000000},
        {"opaque colour", 0x204080, 0x204080, 0xFF204080},
        {"half-covered white", 0x808080, 0xFFFFFF, 0x80808080},
        {"half-covered red", 0x800000, 0xFF7F7F, 0x80800000},
        // An inverting pixel is darker over white than over black.
        {"inverted", 0xFFFFFF, 0x000000, 0xFFFFFFFF},
        {"rounding: a component above the coverage", 0x900000, 0xFF7F7F, 0x90900000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PremultipliedFromDrawings(c.overBlack, c.overWhite), c.argb)
            << c.name << ": " << std::hex << PremultipliedFromDrawings(c.overBlack, c.overWhite);
}

} // namespace
} // namespace huegrab::win32
