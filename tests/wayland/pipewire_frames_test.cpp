// SPDX-License-Identifier: GPL-3.0-or-later
// PipeWireFrames against a screen cast of the test's own making: an output
// stream on the private daemon of with_pipewire.sh, linked by WirePlumber.
#include "desktop/wayland/pipewire_frames.h"
#include "tests/wayland/support/test_screen_cast.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace huegrab::wayland {
namespace {

using namespace std::chrono_literals;

constexpr std::int32_t kWidth = 64;
constexpr std::int32_t kHeight = 48;

// Pixel (x, y) of a TestPicture tagged `tag`, as 0x00BBGGRR.
ColorValue Expected(std::int32_t x, std::int32_t y, std::uint8_t tag) {
    return (x * 4) | ((y * 5) << 8) | (tag << 16);
}

// Sends `picture` until `seen` holds: the link may drop the first frames.
template <typename Seen>
bool SendUntil(TestScreenCast& cast, const TestPicture& picture, Seen seen) {
    for (int i = 0; i < 100; ++i) {
        cast.Send(picture);
        for (int j = 0; j < 5; ++j) {
            if (seen())
                return true;
            std::this_thread::sleep_for(10ms);
        }
    }
    return false;
}

// A connection of our own to the daemon, as the screen-cast portal hands
// one out.
int DaemonSocket() {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string path = std::string(runtime ? runtime : "") + "/pipewire-0";
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    EXPECT_EQ(connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0) << path;
    return fd;
}

// Through the session's default daemon, or a connection handed over.
std::unique_ptr<PipeWireFrames> ConnectTo(const TestScreenCast& cast, bool viaFd = false) {
    std::string whyNot;
    auto frames = PipeWireFrames::Connect(viaFd ? DaemonSocket() : -1, cast.NodeId(), whyNot);
    EXPECT_NE(frames, nullptr) << whyNot;
    return frames;
}

// One pixel of the newest frame; -2 before the first.
ColorValue PixelOf(const PipeWireFrames& frames, std::int32_t x, std::int32_t y) {
    const std::optional<PixelBlock> block = frames.ReadBlock(x, y, 1, 1);
    return block ? block->At(x, y) : -2;
}

class PipeWireFramesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { pw_init(nullptr, nullptr); }
};

struct FormatCase {
    const char* name;
    spa_video_format format;
    std::int32_t stride;
    bool viaFd;
};

// Each format, its rows padded or not: the colours in 0x00BBGGRR, blocks
// past the frame's edges invalid there, the pointer from the metadata.
TEST_F(PipeWireFramesTest, ReadsEveryFormatRespectingStride) {
    const FormatCase cases[] = {
        {"BGRx padded, handed a connection", SPA_VIDEO_FORMAT_BGRx, kWidth * 4 + 32, true},
        {"RGBx padded", SPA_VIDEO_FORMAT_RGBx, kWidth * 4 + 12, false},
        {"BGRA", SPA_VIDEO_FORMAT_BGRA, kWidth * 4, false},
        {"RGBA", SPA_VIDEO_FORMAT_RGBA, kWidth * 4, false},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestScreenCast cast(c.format, kWidth, kHeight, c.stride);
        const auto frames = ConnectTo(cast, c.viaFd);
        ASSERT_NE(frames, nullptr);
        EXPECT_EQ(frames->ReadBlock(0, 0, 1, 1), std::nullopt);
        EXPECT_FALSE(frames->WaitForFirstFrame(50ms));
        ASSERT_TRUE(SendUntil(cast, {.tag = 7, .cursor = ScreenPoint{10, 20}},
                              [&] { return frames->Pointer().has_value(); }));
        ASSERT_TRUE(frames->WaitForFirstFrame(2s));
        EXPECT_EQ(frames->FrameSize(), (StreamSize{kWidth, kHeight}));
        EXPECT_EQ(frames->Pointer(), (ScreenPoint{10, 20}));
        for (const ScreenPoint p : {ScreenPoint{0, 0}, ScreenPoint{63, 47}, ScreenPoint{31, 17}})
            EXPECT_EQ(PixelOf(*frames, p.x, p.y), Expected(p.x, p.y, 7)) << p.x << "," << p.y;
        // 11 x 11 blocks over the bottom-right and top-left corners.
        for (const ScreenPoint corner : {ScreenPoint{58, 42}, ScreenPoint{-5, -5}}) {
            const auto block = frames->ReadBlock(corner.x, corner.y, 11, 11);
            ASSERT_TRUE(block.has_value());
            ASSERT_EQ(block->pixels.size(), 121u);
            for (std::int32_t y = corner.y; y < corner.y + 11; ++y) {
                for (std::int32_t x = corner.x; x < corner.x + 11; ++x) {
                    const bool on = x >= 0 && y >= 0 && x < kWidth && y < kHeight;
                    ASSERT_EQ(block->At(x, y), on ? Expected(x, y, 7) : kInvalidColor)
                        << x << "," << y;
                }
            }
        }
    }
}

// Frames come only when the screen changes: the last one stays until a
// whole, uncorrupted one replaces it; the pointer follows every buffer that
// says where it is.
TEST_F(PipeWireFramesTest, KeepsTheLastFrameUntilAGoodOneReplacesIt) {
    TestScreenCast cast(SPA_VIDEO_FORMAT_BGRx, kWidth, kHeight, kWidth * 4 + 16);
    const auto frames = ConnectTo(cast);
    ASSERT_NE(frames, nullptr);
    ASSERT_TRUE(SendUntil(cast, {.tag = 1, .cursor = ScreenPoint{5, 6}},
                          [&] { return PixelOf(*frames, 1, 1) == Expected(1, 1, 1); }));
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(PixelOf(*frames, 1, 1), Expected(1, 1, 1));

    struct Step {
        const char* name;
        TestPicture picture;
        ScreenPoint pointer;   // what Pointer() answers afterwards
        std::uint8_t frameTag; // whose pixels ReadBlock() answers afterwards
    };
    const Step steps[] = {
        {"cursor-only update", {.tag = 2, .cursor = ScreenPoint{7, 8}, .empty = true}, {7, 8}, 1},
        {"corrupted frame", {.tag = 3, .cursor = ScreenPoint{9, 0}, .corrupted = true}, {9, 0}, 1},
        {"new frame without cursor", {.tag = 4}, {9, 0}, 4},
        {"new frame with cursor", {.tag = 5, .cursor = ScreenPoint{-3, 47}}, {-3, 47}, 5},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        ASSERT_TRUE(SendUntil(cast, step.picture,
                              [&] {
                                  return frames->Pointer() == step.pointer &&
                                         PixelOf(*frames, 1, 1) == Expected(1, 1, step.frameTag);
                              }))
            << "pixel " << PixelOf(*frames, 1, 1);
    }

    // A cropped frame: its own size, its first pixel the region's corner.
    ASSERT_TRUE(SendUntil(cast, {.tag = 6, .crop = {{8, 4}, {16, 10}}}, [&] {
        return frames->FrameSize() == StreamSize{16, 10};
    }));
    EXPECT_EQ(PixelOf(*frames, 0, 0), Expected(8, 4, 6));
    EXPECT_EQ(PixelOf(*frames, 15, 9), Expected(23, 13, 6));
    EXPECT_EQ(PixelOf(*frames, 16, 0), kInvalidColor);
    EXPECT_FALSE(frames->Broken());
}

// A node that is not there, or a cast that ends: broken, and the waiting
// for a first frame over; a frame already there is kept.
TEST_F(PipeWireFramesTest, BreaksWhenTheCastIsNotThereOrEnds) {
    std::string whyNot;
    const auto nowhere = PipeWireFrames::Connect(-1, 4000, whyNot);
    ASSERT_NE(nowhere, nullptr) << whyNot;
    EXPECT_FALSE(nowhere->WaitForFirstFrame(10s));
    EXPECT_TRUE(nowhere->Broken());

    auto cast =
        std::make_unique<TestScreenCast>(SPA_VIDEO_FORMAT_BGRx, kWidth, kHeight, kWidth * 4);
    const auto frames = ConnectTo(*cast);
    ASSERT_NE(frames, nullptr);
    ASSERT_TRUE(SendUntil(*cast, {.tag = 1}, [&] { return frames->FrameSize().has_value(); }));
    EXPECT_FALSE(frames->Broken());
    cast.reset();
    for (int i = 0; i < 500 && !frames->Broken(); ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_TRUE(frames->Broken());
    EXPECT_EQ(PixelOf(*frames, 1, 1), Expected(1, 1, 1));
}

// A remote that is not there or not PipeWire: no object, and a reason.
TEST_F(PipeWireFramesTest, RefusesARemoteThatIsNotPipeWire) {
    int ends[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends), 0);
    close(ends[1]);
    std::string whyNot;
    EXPECT_EQ(PipeWireFrames::Connect(ends[0], 40, whyNot), nullptr);
    EXPECT_NE(whyNot, "");

    whyNot.clear();
    setenv("PIPEWIRE_REMOTE", "huegrab-no-such-remote", 1);
    EXPECT_EQ(PipeWireFrames::Connect(-1, 40, whyNot), nullptr);
    unsetenv("PIPEWIRE_REMOTE");
    EXPECT_NE(whyNot, "");
}

} // namespace
} // namespace huegrab::wayland
