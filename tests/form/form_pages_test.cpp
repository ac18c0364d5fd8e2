// SPDX-License-Identifier: GPL-3.0-or-later
// Page switching with the mouse, the keyboard focus that follows it, and the
// contact line.
#include "app/form/clickable_label.h"
#include "app/form/layout_table.h"
#include "tests/form/form_test_support.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

namespace huegrab {
namespace {

using testing_support::FormFixture;
using testing_support::Q;

class FormPages : public ::testing::Test, protected FormFixture {
protected:
    void SetUp() override {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    void Click(const char* name, int index) {
        QWidget* w = form.Control(name, index);
        ASSERT_NE(w, nullptr);
        QTest::mouseClick(w, Qt::LeftButton);
    }

    // The indexes of the pages of this name shown among their siblings.
    std::vector<int> ShownPages(const char* name) {
        std::vector<int> shown;
        for (int k = 0; k < 3; ++k) {
            QWidget* page = form.Control(name, k);
            if (page->isVisibleTo(page->parentWidget())) {
                shown.push_back(k);
            }
        }
        return shown;
    }

    // Puts the focus somewhere else so that its move to Check1 can be seen.
    void FocusElsewhere() {
        form.Control("自x")->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), form.Control("自x"));
    }

    bool Pressed(const char* name, int index) {
        return form.Find<QAbstractButton>(name, index)->isChecked();
    }
};

TEST_F(FormPages, StartStopSwitchHasTheFocusWhenTheWindowOpens) {
    EXPECT_EQ(QApplication::focusWidget(), form.Control("Check1"));
    // ...and is the first stop of the tab order.
    EXPECT_EQ(form.nextInFocusChain(), form.Control("Check1"));
}

TEST_F(FormPages, ModeButtonsShowTheirPageAndFocusTheSwitch) {
    for (const int k : {1, 2, 0, 2}) {
        SCOPED_TRACE(k);
        FocusElsewhere();
        Click("Option2", k);
        EXPECT_EQ(ShownPages("Frame2"), std::vector<int>{k});
        EXPECT_TRUE(form.Control("Frame2", k)->isVisible());
        for (int j = 0; j < 3; ++j) {
            EXPECT_EQ(Pressed("Option2", j), j == k) << j;
        }
        EXPECT_EQ(QApplication::focusWidget(), form.Control("Check1"));
    }
}

TEST_F(FormPages, ChoosingTheShownModeAgainKeepsItsPage) {
    Click("Option2", 1);
    FocusElsewhere();
    Click("Option2", 1);
    EXPECT_EQ(ShownPages("Frame2"), std::vector<int>{1});
    EXPECT_TRUE(Pressed("Option2", 1));
    EXPECT_EQ(QApplication::focusWidget(), form.Control("Check1"));
}

TEST_F(FormPages, WindowPanelSelectorsShowTheirSubPage) {
    Click("Option2", 2);
    for (const int k : {1, 2, 2, 0}) {
        SCOPED_TRACE(k);
        FocusElsewhere();
        Click("句柄选项", k);
        EXPECT_EQ(ShownPages("句柄选页"), std::vector<int>{k});
        for (int j = 0; j < 3; ++j) {
            EXPECT_EQ(Pressed("句柄选项", j), j == k) << j;
        }
        EXPECT_EQ(QApplication::focusWidget(), form.Control("Check1"));
    }
}

TEST_F(FormPages, SubPageSurvivesOtherModesAndKeepsItsFields) {
    Click("Option2", 2);
    Click("句柄选项", 1);
    form.Field("Text4")->setText(Q("终端"));
    Click("Option2", 0);
    // The pick page stays hidden while another mode shows, the search page set visible.
    EXPECT_EQ(ShownPages("句柄选页"), std::vector<int>{1});
    EXPECT_FALSE(form.Control("句柄选页", 1)->isVisible());
    Click("Option2", 2);
    EXPECT_EQ(ShownPages("句柄选页"), std::vector<int>{1});
    EXPECT_TRUE(form.Control("句柄选页", 1)->isVisible());
    EXPECT_EQ(form.Field("Text4")->text(), Q("终端"));
}

TEST_F(FormPages, PageChoiceFromCodePressesTheButton) {
    form.SelectModePage(1);
    EXPECT_EQ(ShownPages("Frame2"), std::vector<int>{1});
    EXPECT_TRUE(Pressed("Option2", 1));
    EXPECT_FALSE(Pressed("Option2", 0));
    form.SelectWindowPage(2);
    EXPECT_EQ(ShownPages("句柄选页"), std::vector<int>{2});
    EXPECT_TRUE(Pressed("句柄选项", 2));
}

TEST_F(FormPages, ContactLineOpensAMailToTheAddress) {
    Click("Label7", -1);
    ASSERT_EQ(shell.openedUrls.size(), 1U);
    EXPECT_EQ(shell.openedUrls[0], "mailto:huegrab@example.org");
    EXPECT_EQ(shell.openedUrls[0], "mailto:" + std::string(Form1::kContactAddress));
    // The address opened is the one the line shows.
    EXPECT_EQ(form.Find<QLabel>("Label7")->text(),
              Q("Email：") +
                  QString::fromUtf8(Form1::kContactAddress.data(), Form1::kContactAddress.size()));
}

TEST_F(FormPages, ContactLineIgnoresOtherButtonsAndDragsAway) {
    QWidget* contact = form.Control("Label7");
    QTest::mouseClick(contact, Qt::RightButton);
    QTest::mousePress(contact, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(contact, Qt::LeftButton, {}, QPoint(5, contact->height() + 20));
    EXPECT_TRUE(shell.openedUrls.empty());
}

// A check box or option button answers a click anywhere on its place, also
// beside its caption.
TEST_F(FormPages, CheckAndOptionBoxesTakeAClickAnywhereOnThem) {
    const struct {
        const char* name;
        int index;
    } boxes[] = {{"Check1", -1}, {"Check2", -1}, {"Check3", -1}, {"Option1", 1}, {"Option1", 0}};
    for (const auto& box : boxes) {
        auto* button = form.Find<QAbstractButton>(box.name, box.index);
        const bool before = button->isChecked();
        for (const QPoint at : {QPoint(button->width() - 2, button->height() / 2),
                                QPoint(button->width() - 1, button->height() - 1)}) {
            QTest::mouseClick(button, Qt::LeftButton, {}, at);
            EXPECT_NE(button->isChecked(), before) << box.name << box.index;
            if (button->autoExclusive() || button->group() != nullptr)
                break; // an option stays selected
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(2, 2));
        }
    }
}

// The page buttons are option buttons drawn as push buttons: a screen
// reader must read them as the one choice of three they are, not as check
// boxes that could be unticked.
TEST_F(FormPages, PageButtonsReadAsOptionButtons) {
    form.SelectModePage(2);
    for (const char* name : {"Option2", "句柄选项"}) {
        for (int k = 0; k < 3; ++k) {
            QAccessibleInterface* button =
                QAccessible::queryAccessibleInterface(form.Control(name, k));
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->role(), QAccessible::RadioButton) << name << k;
            EXPECT_EQ(button->state().checked, Pressed(name, k)) << name << k;
        }
    }
}

// The focus stops Tab (or Shift+Tab) makes from the focused control round
// to it again.
std::vector<QWidget*> TabRound(int key) {
    QWidget* start = QApplication::focusWidget();
    std::vector<QWidget*> stops;
    for (int i = 0; i < 200; ++i) {
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key));
        if (QApplication::focusWidget() == start)
            return stops;
        stops.push_back(QApplication::focusWidget());
    }
    ADD_FAILURE() << "Tab never comes back";
    return stops;
}

// Keyboard only: Tab goes round every control that acts on a click - the
// colour slots, the cursor slots and the contact line too - Shift+Tab the
// same way back, and Space on a slot clicks it, which shows on the slot.
TEST_F(FormPages, TabReachesEveryControlThatActs) {
    for (const int page : {0, 1, 2}) {
        SCOPED_TRACE(page);
        form.SelectModePage(page);
        const std::vector<QWidget*> forward = TabRound(Qt::Key_Tab);
        std::vector<QWidget*> backward = TabRound(Qt::Key_Backtab);
        std::reverse(backward.begin(), backward.end());
        EXPECT_EQ(forward, backward);
        for (QWidget* w : form.findChildren<QWidget*>()) {
            if (!w->isVisible() || !w->isEnabled() || w->cursor().shape() != Qt::PointingHandCursor)
                continue;
            EXPECT_TRUE(std::find(forward.begin(), forward.end(), w) != forward.end())
                << w->objectName().toStdString() << " " << w->property("index").toInt();
        }
    }
    auto* slot = form.Find<ClickableLabel>("色块", 2);
    const QImage plain = slot->grab().toImage();
    while (QApplication::focusWidget() != slot && QApplication::focusWidget() != &form)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), slot);
    EXPECT_NE(slot->grab().toImage(), plain); // the focus shows
    QSignalSpy clicks(slot, &ClickableLabel::clicked);
    QTest::keyClick(slot, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 1);
    // To a screen reader it is a button named by its number, to be pressed.
    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(slot);
    EXPECT_EQ(button->role(), QAccessible::Button);
    EXPECT_EQ(button->text(QAccessible::Name), Q("3"));
    ASSERT_NE(button->actionInterface(), nullptr);
    button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.count(), 2);
    // A click with the mouse leaves the focus where it was.
    QTest::mouseClick(form.Control("色块", 5), Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), slot);
}

// Enter and the keypad's Enter press a focused command button, as Space
// does, once per press; buttons that stay down (check boxes and option
// buttons drawn as buttons) are left to Space and the mouse.
TEST_F(FormPages, EnterPressesCommandButtonsAsSpaceDoes) {
    int commandButtons = 0;
    for (const ControlRow& row : LayoutTable()) {
        auto* button = form.Find<QPushButton>(row.name, row.index);
        if (button == nullptr)
            continue;
        const std::string name = std::string(row.name) + "(" + std::to_string(row.index) + ")";
        button->setEnabled(true); // the offset buttons start disabled
        const bool checked = button->isChecked();
        QSignalSpy clicks(button, &QAbstractButton::clicked);
        QTest::keyClick(button, Qt::Key_Return);
        QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
        if (row.kind == ControlKind::CommandButton) {
            ++commandButtons;
            EXPECT_EQ(clicks.count(), 2) << name;
            QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
            QApplication::sendEvent(button, &repeat);
            EXPECT_EQ(clicks.count(), 2) << name << ": a held key presses once";
        } else {
            EXPECT_EQ(clicks.count(), 0) << name;
            EXPECT_EQ(button->isChecked(), checked) << name;
        }
    }
    EXPECT_GT(commandButtons, 10);
}

} // namespace
} // namespace huegrab
