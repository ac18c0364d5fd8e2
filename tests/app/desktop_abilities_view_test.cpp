// SPDX-License-Identifier: GPL-3.0-or-later
// The window on a desktop that lacks one ability: the controls that need it
// show no answer and say why; every other control works as on a full
// desktop. The first case lacks nothing, so each check is seen to pass both
// ways.
#include "tests/app/app_fixture.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <optional>
#include <ostream>

namespace huegrab {
namespace {

constexpr ScreenPoint kPointer{100, 200};
constexpr ColorValue kUnderPointer = 0x123456;

struct AbilityCase {
    const char* name;
    std::optional<DesktopAbility> missing;
    // A "%" in the desktop's words is shown as text, never as a placeholder.
    const char* whyNot = "";
};

const AbilityCase kCases[] = {
    {"Everything", std::nullopt},
    {"ReadPointer", DesktopAbility::ReadPointer, "no pointer here (%1)"},
    {"MovePointer", DesktopAbility::MovePointer, "no warping here (%2)"},
    {"Hotkeys", DesktopAbility::Hotkeys, "no key grabs here"},
    {"Windows", DesktopAbility::Windows, "no windows here"},
    {"CursorImage", DesktopAbility::CursorImage, "no cursor image here"},
};

void PrintTo(const AbilityCase& c, std::ostream* os) {
    *os << c.name;
}

class OneAbilityMissing : public AppFixture, public ::testing::WithParamInterface<AbilityCase> {
protected:
    void PrepareDesktop() override {
        desktop.pointer = kPointer;
        desktop.SetPixel(kPointer.x, kPointer.y, kUnderPointer);
        desktop.windows = {{301, "Notepad - a.txt", "Notepad", 0, 0, 800, 600}};
        desktop.cursor = CursorImage{16, 16, 0, 0, std::vector<std::uint32_t>(256, 0xFFFFFFFFu)};
        if (GetParam().missing)
            desktop.notOffered[*GetParam().missing] = GetParam().whyNot;
    }
    bool Offers(DesktopAbility ability) const { return GetParam().missing != ability; }
    // Whether `text` names the desktop's reason; always false on a full desktop.
    bool SaysWhy(const QString& text) const {
        return GetParam().missing && text.contains(QString::fromUtf8(GetParam().whyNot));
    }
    bool Enabled(std::string_view name) const { return form->Control(name)->isEnabled(); }
    QString ToolTip(std::string_view name) const { return form->Control(name)->toolTip(); }
};

TEST_P(OneAbilityMissing, AffectedControlsSayWhyAndTheOthersWork) {
    const bool readsPointer = Offers(DesktopAbility::ReadPointer);
    const bool nudges = readsPointer && Offers(DesktopAbility::MovePointer);
    const bool windows = Offers(DesktopAbility::Windows);
    const bool windowAtPointer = windows && readsPointer;
    const bool cursorCode = Offers(DesktopAbility::CursorImage) && readsPointer;
    const QString lamp = ToolTip("Label8");

    // The hotkey.
    EXPECT_EQ(desktop.registeredHotkeys.size(), Offers(DesktopAbility::Hotkeys) ? 1u : 0u);
    const QLabel* caption = form->Controls().tracking.hotkeyCaption;
    EXPECT_EQ(caption->text(), Offers(DesktopAbility::Hotkeys) ? QStringLiteral("[Alt+~]启动／停止")
                                                               : QStringLiteral("[Alt+~]不可用"));
    EXPECT_EQ(SaysWhy(caption->toolTip()), !Offers(DesktopAbility::Hotkeys));

    // Tracking and the nudge: one tick with the up arrow held.
    EXPECT_EQ(SaysWhy(lamp), !readsPointer || !Offers(DesktopAbility::MovePointer) ||
                                 !Offers(DesktopAbility::Hotkeys))
        << lamp.toStdString();
    desktop.keysDown = {vk::kUp};
    controller->Tracking().RunTick();
    EXPECT_EQ(Text("Label9"), readsPointer ? "x:100  y:200" : "x:0　y:0");
    EXPECT_EQ(SaysWhy(ToolTip("Label9")), !readsPointer);
    EXPECT_EQ(Text("得x"), readsPointer ? "100" : "");
    EXPECT_EQ(Text("得16"), readsPointer ? "123456" : "");
    EXPECT_EQ(desktop.blockReads, readsPointer ? 1 : 0);
    const std::vector<ScreenPoint> nudged{{100, 199}};
    EXPECT_EQ(desktop.cursorMoves, nudges ? nudged : std::vector<ScreenPoint>{});
    desktop.keysDown.clear();

    // The window panel: the tick above probed the window under the pointer.
    EXPECT_EQ(Text("Text2"), windowAtPointer ? "301" : "");
    EXPECT_EQ(Text("Text1"), windowAtPointer ? "Notepad - a.txt" : "");
    EXPECT_EQ(Enabled("Check4"), windowAtPointer);
    EXPECT_EQ(SaysWhy(ToolTip("Check4")), !windowAtPointer);
    EXPECT_EQ(SaysWhy(form->Field("Text1")->placeholderText()), !windowAtPointer);
    form->SelectModePage(2);
    Click("句柄选项", 1);
    Type("Text4", "Notepad");
    Click("Command8");
    const QString found = form->Find<QPlainTextEdit>("Text5")->toPlainText();
    EXPECT_EQ(found.contains(QStringLiteral("301")), windows) << found.toStdString();
    EXPECT_EQ(SaysWhy(found), !windows) << found.toStdString();
    Click("句柄选项", 2);
    Click("Command9");
    auto* list = form->Find<QListWidget>("List1");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text().contains(QStringLiteral("301")), windows);
    EXPECT_EQ(SaysWhy(list->item(0)->text()), !windows);
    for (const char* button : {"Command8", "Command9", "Command10"})
        EXPECT_EQ(Enabled(button), windows) << button;
    EXPECT_EQ(form->Control("Command11", 8)->isEnabled(), windows);

    // The cursor code: by Command7, and by a tick while its page is chosen.
    form->SelectModePage(1);
    Click("Command7");
    controller->Tracking().RunTick();
    EXPECT_EQ(Text("鼠标特征码").empty(), !cursorCode);
    EXPECT_EQ(desktop.cursorImageReads, cursorCode ? 2 : 0);
    EXPECT_EQ(SaysWhy(ToolTip("Command7")), !cursorCode);
    EXPECT_EQ(SaysWhy(form->Field("鼠标特征码")->placeholderText()), !cursorCode);
}

INSTANTIATE_TEST_SUITE_P(Abilities, OneAbilityMissing, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace huegrab
