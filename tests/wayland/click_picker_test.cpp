// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/wayland/click_picker.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace huegrab::wayland {
namespace {

namespace fs = std::filesystem;

// slurp's "%x %y", strictly: anything else is no point.
TEST(ClickPicker, ReadsOnlyAPointAsSlurpPrintsIt) {
    struct Case {
        std::string_view text;
        std::optional<ScreenPoint> expected;
    };
    const std::vector<Case> cases = {
        {"640 360", ScreenPoint{640, 360}},
        {"640 360\n", ScreenPoint{640, 360}},
        {"-1280 0", ScreenPoint{-1280, 0}}, // an output left of the first
        {"2147483647 -2147483648", ScreenPoint{2147483647, -2147483648}},
        {"", std::nullopt},
        {"\n", std::nullopt},
        {"640", std::nullopt},
        {"640 ", std::nullopt},
        {" 640 360", std::nullopt},
        {"640  360", std::nullopt},
        {"640,360", std::nullopt},
        {"640 360\n\n", std::nullopt},
        {"640 360\r\n", std::nullopt},
        {"640 360 1x1", std::nullopt},
        {"+640 360", std::nullopt},
        {"6.5 360", std::nullopt},
        {"0x10 360", std::nullopt},
        {"2147483648 0", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(text)));
        EXPECT_EQ(ReadPickedPoint(text), expected);
    }
}

// A stand-in slurp first on PATH: it records its arguments and answers
// as the case says.
class StandInSlurp {
public:
    explicit StandInSlurp(const std::string& script)
        : folder_(fs::temp_directory_path() / ("huegrab-slurp-" + std::to_string(::getpid()))),
          oldPath_(std::getenv("PATH")) {
        fs::create_directories(folder_);
        std::ofstream(folder_ / "slurp") << "#!/bin/sh\nprintf '%s|' \"$@\" >\"" +
                                                (folder_ / "arguments").string() + "\"\n" + script;
        fs::permissions(folder_ / "slurp", fs::perms::owner_all);
        ::setenv("PATH", (folder_.string() + ":" + oldPath_).c_str(), 1);
    }
    ~StandInSlurp() {
        ::setenv("PATH", oldPath_.c_str(), 1);
        fs::remove_all(folder_);
    }
    std::string Arguments() const {
        std::ifstream file(folder_ / "arguments");
        return {std::istreambuf_iterator<char>(file), {}};
    }

private:
    fs::path folder_;
    std::string oldPath_;
};

TEST(ClickPicker, TheClickedPointOrWhyThereIsNone) {
    struct Case {
        std::string script;
        std::optional<ScreenPoint> point;
        std::string whyNot;
    };
    const std::vector<Case> cases = {
        {"printf '12 34'", ScreenPoint{12, 34}, ""},
        {"echo 'selection cancelled' >&2; exit 1", std::nullopt,
         "no point was picked (slurp: selection cancelled)"},
        {"kill -TERM $$", std::nullopt, "no point was picked (slurp: ended by signal 15)"},
        {"exit 3", std::nullopt, "no point was picked (slurp: exit status 3)"},
        {"printf '12,34 1x1'", std::nullopt, "slurp printed no point: \"12,34 1x1\""},
        {"head -c 100000 /dev/zero | tr '\\0' 1", std::nullopt,
         "slurp printed no point: \"" + std::string(120, '1') + "\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        const StandInSlurp slurp(c.script);
        ClickPicker picker;
        std::string whyNot;
        EXPECT_EQ(picker.Pick(whyNot), c.point);
        EXPECT_EQ(whyNot, c.whyNot);
        // One point, printed as the reader wants it, over a clear overlay.
        EXPECT_EQ(slurp.Arguments(), "-p|-b|00000000|-f|%x %y|");
    }
}

} // namespace
} // namespace huegrab::wayland
