// SPDX-License-Identifier: GPL-3.0-or-later
// The window in English on a desktop that lacks every ability: its notes
// about them are English, each ending in the desktop's own words.
#include "app/form/translation.h"
#include "tests/app/app_fixture.h"

#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>

namespace huegrab {
namespace {

class EnglishWithoutAbilities : public AppFixture {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(InstallEnglishCaptions(*QCoreApplication::instance()));
    }
    void PrepareDesktop() override {
        for (int i = 0; i <= static_cast<int>(DesktopAbility::CursorImage); ++i)
            desktop.notOffered[static_cast<DesktopAbility>(i)] = "reason " + std::to_string(i);
    }
};

TEST_F(EnglishWithoutAbilities, EveryNoteIsEnglishAndEndsInTheDesktopsReason) {
    const QRegularExpression chinese(QStringLiteral("[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
    const FormControls& c = form->Controls();
    const QString notes[] = {
        c.tracking.hotkeyCaption->text(),  c.tracking.hotkeyCaption->toolTip(),
        c.tracking.lamp->toolTip(),        c.window.probe->toolTip(),
        c.window.title->placeholderText(), c.window.searchResults->toPlainText(),
        c.cursor.test->toolTip(),
    };
    for (const QString& note : notes) {
        EXPECT_FALSE(note.contains(chinese)) << note.toStdString();
        EXPECT_TRUE(note.contains(QRegularExpression(QStringLiteral("(reason \\d|unavailable)$"))))
            << note.toStdString();
    }
    EXPECT_LE(
        c.tracking.hotkeyCaption->fontMetrics().horizontalAdvance(c.tracking.hotkeyCaption->text()),
        c.tracking.hotkeyCaption->contentsRect().width());
}

// Nor reads the pointer, but lets the user click a point: the lamp says so.
class EnglishClickToPick : public EnglishWithoutAbilities {
protected:
    void PrepareDesktop() override {
        EnglishWithoutAbilities::PrepareDesktop();
        desktop.picksByClick = true;
    }
};

TEST_F(EnglishClickToPick, TheLampSaysToClickThePoint) {
    const QString lamp = form->Controls().tracking.lamp->toolTip();
    EXPECT_FALSE(lamp.contains(QRegularExpression(QStringLiteral("[\\x{3000}-\\x{9fff}]"))))
        << lamp.toStdString();
    EXPECT_TRUE(lamp.contains(QStringLiteral("click the point"))) << lamp.toStdString();
}

} // namespace
} // namespace huegrab
