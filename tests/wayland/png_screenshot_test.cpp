// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/wayland/png_screenshot.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <png.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace huegrab::wayland {
namespace {

// A file in the test's temporary folder, removed with the object.
class TempFile {
public:
    explicit TempFile(const std::string& name)
        : path_((std::filesystem::temp_directory_path() /
                 ("huegrab_png_" + std::to_string(getpid()) + "_" + name))
                    .string()) {}
    ~TempFile() { std::remove(path_.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Writes a 3 x 2 image in `format` from `samples` (bytes unless sixteenBit).
void WritePng(const std::string& path, png_uint_32 format, const std::vector<png_uint_16>& samples,
              bool sixteenBit) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = 3;
    image.height = 2;
    image.format = format;
    if (sixteenBit) {
        ASSERT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, samples.data(), 0, nullptr))
            << image.message;
        return;
    }
    const std::vector<png_byte> bytes(samples.begin(), samples.end());
    ASSERT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, bytes.data(), 0, nullptr))
        << image.message;
}

// Every PNG form a portal might write comes out as the same 0x00BBGGRR
// colours, row by row from the desktop's point (0, 0).
TEST(PngScreenshot, EveryPngFormReadsAsBlueGreenRed) {
    struct Case {
        const char* name;
        png_uint_32 format;
        bool sixteenBit;
        std::vector<png_uint_16> samples;
        std::vector<ColorValue> expected;
    };
    const std::vector<Case> cases = {
        {"rgba",
         PNG_FORMAT_RGBA,
         false,
         {0x33, 0x66, 0xCC, 0xFF, 0xFF, 0, 0, 0xFF, 0,    0xFF, 0,    0xFF,
          0,    0,    0xFF, 0xFF, 0,    0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
         {0xCC6633, 0x0000FF, 0x00FF00, 0xFF0000, 0x000000, 0xFFFFFF}},
        {"rgb",
         PNG_FORMAT_RGB,
         false,
         {0x33, 0x66, 0xCC, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0xFE, 0xFD, 0xFC},
         {0xCC6633, 0x030201, 0x060504, 0x090807, 0x0C0B0A, 0xFCFDFE}},
        {"bgra",
         PNG_FORMAT_BGRA,
         false,
         {0xCC, 0x66, 0x33, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0, 0, 0xFF,
          0,    0,    0,    0xFF, 0, 0, 0,    0xFF, 1, 2, 3, 0xFF},
         {0xCC6633, 0x0000FF, 0, 0, 0, 0x010203}},
        {"grey",
         PNG_FORMAT_GRAY,
         false,
         {0, 0x80, 0xFF, 0x10, 0x20, 0x30},
         {0, 0x808080, 0xFFFFFF, 0x101010, 0x202020, 0x303030}},
        // 16-bit linear samples: full and none are exact whatever the
        // conversion to 8-bit sRGB does in between.
        {"rgb16",
         PNG_FORMAT_LINEAR_RGB,
         true,
         {65535, 0, 0, 0, 65535, 0, 0, 0, 65535, 0, 0, 0, 65535, 65535, 65535, 65535, 0, 65535},
         {0x0000FF, 0x00FF00, 0xFF0000, 0, 0xFFFFFF, 0xFF00FF}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFile file(std::string(c.name) + ".png");
        WritePng(file.Path(), c.format, c.samples, c.sixteenBit);
        std::string whyNot;
        const auto screen = ReadPngScreenshot(file.Path(), whyNot);
        ASSERT_TRUE(screen) << whyNot;
        EXPECT_EQ(screen->left, 0);
        EXPECT_EQ(screen->top, 0);
        EXPECT_EQ(screen->width, 3);
        EXPECT_EQ(screen->height, 2);
        EXPECT_EQ(screen->pixels, c.expected);
    }
}

// A missing, empty, cut or foreign file is no screenshot: said, not read as
// a black screen.
TEST(PngScreenshot, AFileThatIsNoPngIsRefusedWithItsName) {
    const TempFile good("good.png");
    WritePng(good.Path(), PNG_FORMAT_RGB, std::vector<png_uint_16>(18, 0x40), false);
    std::ifstream in(good.Path(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    struct Case {
        const char* name;
        std::string content;
    };
    const std::vector<Case> cases = {
        {"empty", ""},
        {"text", "not a picture\n"},
        {"cut", bytes.substr(0, bytes.size() / 2)},
        {"header only", bytes.substr(0, 8)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFile file("bad.png");
        std::ofstream(file.Path(), std::ios::binary) << c.content;
        std::string whyNot;
        EXPECT_FALSE(ReadPngScreenshot(file.Path(), whyNot));
        EXPECT_NE(whyNot.find(file.Path()), std::string::npos) << whyNot;
    }
    std::string whyNot;
    EXPECT_FALSE(ReadPngScreenshot("/nonexistent/huegrab.png", whyNot));
    EXPECT_NE(whyNot.find("/nonexistent/huegrab.png"), std::string::npos) << whyNot;
}

// Blocks cut from a 4 x 3 screen: the parts off it are kInvalidColor, also
// at the edges of the coordinate range.
TEST(PngScreenshot, BlocksCutFromTheScreenKeepDesktopCoordinates) {
    PixelBlock screen{0, 0, 4, 3, {}};
    for (ColorValue v = 0; v < 12; ++v)
        screen.pixels.push_back(v * 0x10);
    constexpr ColorValue no = kInvalidColor;
    constexpr std::int32_t kMax = INT32_MAX;
    constexpr std::int32_t kMin = INT32_MIN;
    struct Case {
        std::int32_t left, top, width, height;
        std::vector<ColorValue> expected;
    };
    const std::vector<Case> cases = {
        {0, 0, 1, 1, {0x00}},
        {3, 2, 1, 1, {0xB0}},
        {1, 1, 2, 2, {0x50, 0x60, 0x90, 0xA0}},
        {-1, -1, 2, 2, {no, no, no, 0x00}},
        {3, 2, 2, 2, {0xB0, no, no, no}},
        {4, 0, 1, 1, {no}},
        {kMax, kMax, 2, 1, {no, no}},
        {kMin, 0, 1, 1, {no}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.left << "," << c.top << " " << c.width << "x" << c.height);
        const PixelBlock block = CutBlock(screen, c.left, c.top, c.width, c.height);
        EXPECT_EQ(block.left, c.left);
        EXPECT_EQ(block.top, c.top);
        EXPECT_EQ(block.width, c.width);
        EXPECT_EQ(block.height, c.height);
        EXPECT_EQ(block.pixels, c.expected);
    }
}

} // namespace
} // namespace huegrab::wayland
