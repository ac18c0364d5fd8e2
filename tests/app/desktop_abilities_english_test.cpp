// SPDX-License-Identifier: GPL-3.0-or-later
// The window in English on a desktop that lacks every ability: what it says
// about them is English, with the desktop's words as they came, and the
// hotkey's caption fits its label.
#include "app/form/translation.h"
#include "tests/app/app_fixture.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>

namespace huegrab {
namespace {

const QRegularExpression kChinese(QStringLiteral("[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));

class EnglishWithoutAbilities : public AppFixture {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(InstallEnglishCaptions(*QCoreApplication::instance()));
    }
    void PrepareDesktop() override {
        for (const DesktopAbility ability :
             {DesktopAbility::ReadPointer, DesktopAbility::MovePointer, DesktopAbility::Hotkeys,
              DesktopAbility::Windows, DesktopAbility::CursorImage})
            desktop.notOffered[ability] =
                "not here, ability " + std::to_string(static_cast<int>(ability));
    }
};

TEST_F(EnglishWithoutAbilities, EveryNoteIsEnglishAndNamesTheDesktopsReason) {
    const FormControls& c = form->Controls();
    struct Shown {
        const char* what;
        QString text;
        DesktopAbility ability;
    };
    const Shown shown[] = {
        {"lamp", c.tracking.lamp->toolTip(), DesktopAbility::Hotkeys},
        {"lamp", c.tracking.lamp->toolTip(), DesktopAbility::ReadPointer},
        {"hotkey caption", c.tracking.hotkeyCaption->toolTip(), DesktopAbility::Hotkeys},
        {"P", c.window.probe->toolTip(), DesktopAbility::Windows},
        {"window panel", c.modes.pages[2]->toolTip(), DesktopAbility::Windows},
        {"search results", c.window.searchResults->toPlainText(), DesktopAbility::Windows},
        {"window list", c.window.windowList->item(0)->text(), DesktopAbility::Windows},
        {"cursor page", c.modes.pages[1]->toolTip(), DesktopAbility::CursorImage},
        {"Command7", c.cursor.test->toolTip(), DesktopAbility::CursorImage},
    };
    for (const Shown& s : shown) {
        EXPECT_FALSE(s.text.contains(kChinese)) << s.what << ": " << s.text.toStdString();
        EXPECT_TRUE(s.text.contains(QString::fromStdString(desktop.notOffered[s.ability])))
            << s.what << ": " << s.text.toStdString();
    }
    const QLabel* caption = c.tracking.hotkeyCaption;
    EXPECT_EQ(caption->text(), QStringLiteral("[Alt+~] unavailable"));
    EXPECT_LE(caption->fontMetrics().horizontalAdvance(caption->text()),
              caption->contentsRect().width());
}

} // namespace
} // namespace huegrab
