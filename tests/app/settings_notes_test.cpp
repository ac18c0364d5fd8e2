// SPDX-License-Identifier: GPL-3.0-or-later
// What the window says about its settings file: nothing while saves can go
// ahead, a line in the lamp's tooltip when this session's slots cannot be
// kept.
#include "tests/app/app_fixture.h"

#include <QLabel>
#include <filesystem>
#include <fstream>

namespace huegrab {
namespace {

std::string LampTooltip(const Form1& form) {
    return form.Controls().tracking.lamp->toolTip().toStdString();
}

class WritableSettings : public AppFixture {
protected:
    void PrepareFolder() override {
        std::ofstream(folder / "config.ini", std::ios::binary) << "[P0]\r\nX=1\r\n";
    }
};

TEST_F(WritableSettings, TheLampNamesOnlyTheHotkey) {
    EXPECT_EQ(LampTooltip(*form), "Alt+~ 启动/停止");
}

// Something the program cannot replace stands where config.ini belongs (a
// folder: root, who runs these tests, may write any file).
class UnwritableSettings : public AppFixture {
protected:
    void PrepareFolder() override { std::filesystem::create_directory(folder / "config.ini"); }
};

TEST_F(UnwritableSettings, TheLampSaysTheSlotsWillNotBeKept) {
    const std::string tooltip = LampTooltip(*form);
    EXPECT_NE(tooltip.find("Alt+~ 启动/停止\n设置文件 "), std::string::npos) << tooltip;
    EXPECT_NE(tooltip.find((folder / "config.ini").string() + " 不能写入：本次的颜色槽不会保存。"),
              std::string::npos)
        << tooltip;
}

} // namespace
} // namespace huegrab
