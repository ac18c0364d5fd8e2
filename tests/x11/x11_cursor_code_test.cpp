// SPDX-License-Identifier: GPL-3.0-or-later
// Cursor feature codes of the live X11 desktop on a private Xvfb: cursors of
// known pixels give the worked values, cursor-font shapes give stable and
// distinct codes, and a server without XFixes makes the code a copy of the
// screen at the pointer.

#include "cursor/cursor_feature_code.h"
#include "tests/x11/x11_server_test.h"

#include <gtest/gtest.h>

namespace huegrab {
namespace {

constexpr std::int32_t kBlackCodes[] = {0, 2147483647, 2147483647};
constexpr std::int32_t kWhiteCodes[] = {1593348757, 121993146, 330168771};
// Cursor-font shapes (X11/cursorfont.h).
constexpr unsigned kCrosshair = 34;
constexpr unsigned kHand2 = 60;

template <class Base> class CursorCodeTest : public Base {
protected:
    void MovePointer(int x, int y) {
        ASSERT_EQ(this->Xdotool({"mousemove", std::to_string(x), std::to_string(y)}), 0);
    }
    std::int32_t Code(int method) {
        return GetCursorFeatureCode(*this->desktop_, *this->desktop_, *this->desktop_, method).code;
    }
    xtest::XId Window(int x, int y, std::uint32_t rgb) {
        return this->client_->CreateWindow(xtest::PlacedRectangle(x, y, 100, 100, rgb));
    }
};

using X11CursorCode = CursorCodeTest<X11ServerTest<320, 240>>;

TEST_F(X11CursorCode, CursorsOfKnownPixelsGiveTheWorkedValues) {
    struct Case {
        const char* name;
        int side, xhot, yhot;
        std::uint32_t foreground, background;
        bool clear;    // an empty mask: nothing is drawn
        bool hotField; // the foreground only from the hot spot on, the background elsewhere
        const std::int32_t* codes;
    };
    const Case cases[] = {
        {"white square", 16, 0, 0, 0xFFFFFF, 0xFFFFFF, false, false, kWhiteCodes},
        {"black square", 16, 0, 0, 0x000000, 0x000000, false, false, kBlackCodes},
        {"clear cursor", 16, 0, 0, 0xFFFFFF, 0xFFFFFF, true, false, kBlackCodes},
        {"red above and left of the hot spot", 32, 9, 6, 0xFFFFFF, 0xFF0000, false, true,
         kWhiteCodes},
        {"white above and left of the hot spot", 32, 12, 12, 0x000000, 0xFFFFFF, false, true,
         kBlackCodes},
    };
    MovePointer(150, 120);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t count = static_cast<std::size_t>(c.side) * c.side;
        std::vector<std::uint8_t> source(count, 1), mask(count, c.clear ? 0 : 1);
        for (int y = 0; y < c.side; ++y)
            for (int x = 0; x < c.side; ++x)
                if (c.hotField && (x < c.xhot || y < c.yhot))
                    source[static_cast<std::size_t>(y * c.side + x)] = 0;
        client_->SetBitmapCursor(client_->Root(), c.side, c.side, source, mask, c.xhot, c.yhot,
                                 c.foreground, c.background);
        for (int method = 0; method < 3; ++method)
            EXPECT_EQ(Code(method), c.codes[method]) << "method " << method;
    }
}

TEST_F(X11CursorCode, CursorFontShapesGiveStableAndDistinctCodes) {
    const xtest::XId crosshair = Window(10, 10, 0x336699);
    const xtest::XId hand = Window(150, 10, 0x336699);
    ASSERT_NE(crosshair, 0u);
    ASSERT_NE(hand, 0u);
    client_->SetFontCursor(crosshair, kCrosshair);
    client_->SetFontCursor(hand, kHand2);

    for (int method = 0; method < 3; ++method) {
        SCOPED_TRACE(testing::Message() << "method " << method);
        MovePointer(60, 60);
        const std::int32_t first = Code(method);
        // The drawing box has been marked by now; the code does not see it.
        EXPECT_EQ(Code(method), first);
        MovePointer(200, 60);
        const std::int32_t other = Code(method);
        EXPECT_NE(other, first);
        EXPECT_EQ(Code(method), other);
        MovePointer(70, 40); // the same shape elsewhere on its window
        EXPECT_EQ(Code(method), first);
    }
}

// Without XFixes the cursor image cannot be read. This Xvfb aborts when a
// client leaves while another is connected if XFixes is off, so the suite
// keeps to our own connection on a server whose root is plain white.
class X11CursorCodeWithoutXfixes : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        xtest::ServerOptions options;
        options.width = 200;
        options.height = 150;
        options.extraArguments = {"-extension", "XFIXES", "-wr"};
        server_ = xtest::XvfbServer::Start(options);
    }
    static void TearDownTestSuite() { server_.reset(); }
    static inline std::unique_ptr<xtest::XvfbServer> server_;
};

TEST_F(X11CursorCodeWithoutXfixes, TheCodeIsTakenFromTheScreenAtThePointer) {
    ASSERT_NE(server_, nullptr);
    const auto desktop = X11Desktop::Open(server_->DisplayName().c_str());
    ASSERT_NE(desktop, nullptr);
    ASSERT_FALSE(desktop->GetCursorImage().has_value()) << "the server still has XFixes";

    // The pointer's own drawing never reaches the copy. Near the bottom-right
    // corner the copy runs off the screen, which reads black.
    struct Case {
        int x, y;
        std::int32_t codes[3];
    };
    const Case cases[] = {
        {20, 20, {kWhiteCodes[0], kWhiteCodes[1], kWhiteCodes[2]}},
        {100, 60, {kWhiteCodes[0], kWhiteCodes[1], kWhiteCodes[2]}},
        {199, 149, {kBlackCodes[0], kBlackCodes[1], kBlackCodes[2]}},
    };
    for (const Case& c : cases) {
        desktop->SetCursorPos(c.x, c.y);
        for (int method = 0; method < 3; ++method)
            EXPECT_EQ(GetCursorFeatureCode(*desktop, *desktop, *desktop, method).code,
                      c.codes[method])
                << c.x << ", " << c.y << ", method " << method;
    }
    // Partly off the screen: only the pixels on it count as white.
    desktop->SetCursorPos(195, 145);
    const CursorFeatureCode edge = GetCursorFeatureCode(*desktop, *desktop, *desktop, 0);
    for (int y = 0; y < kCursorPictureSide; ++y)
        for (int x = 0; x < kCursorPictureSide; ++x)
            ASSERT_EQ(edge.picture.At(x, y), x < 5 && y < 5 ? 0xFFFFFF : 0) << x << ", " << y;
}

} // namespace
} // namespace huegrab
