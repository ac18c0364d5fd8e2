// SPDX-License-Identifier: GPL-3.0-or-later
// The window in English: every text is translated, and every caption fits
// its control on each page, in the window's own font.
#include "app/form/translation.h"
#include "tests/form/form_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTest>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace huegrab {
namespace {

using testing_support::FormFixture;
using testing_support::Label;
using testing_support::Q;

// The frame draws its caption this far from its left edge, with this much
// free space either side.
constexpr int kFrameCaptionLeft = 6;
constexpr int kFrameCaptionGap = 2;

int WidestLine(const QFontMetrics& metrics, const QString& text) {
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

// The room a control gives its caption, and the caption; width -1 for a
// control that shows no caption.
struct Room {
    QString text;
    int width = -1;
};

Room RoomOf(QWidget* w) {
    QStyle* style = w->style();
    if (auto* label = qobject_cast<QLabel*>(w))
        return {label->text(), label->contentsRect().width() - 2 * std::max(0, label->indent())};
    if (auto* box = qobject_cast<QGroupBox*>(w))
        return {box->title(), w->width() - kFrameCaptionLeft - 2 * kFrameCaptionGap - 1};
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        QStyle::SubElement contents = QStyle::SE_PushButtonContents;
        if (qobject_cast<QCheckBox*>(w))
            contents = QStyle::SE_CheckBoxContents;
        else if (qobject_cast<QRadioButton*>(w))
            contents = QStyle::SE_RadioButtonContents;
        return {button->text(), style->subElementRect(contents, &option, button).width()};
    }
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = false;
        const QRect field = style->subControlRect(QStyle::CC_ComboBox, &option,
                                                  QStyle::SC_ComboBoxEditField, combo);
        QString longest;
        for (int i = 0; i < combo->count(); ++i) {
            if (combo->fontMetrics().horizontalAdvance(combo->itemText(i)) >
                combo->fontMetrics().horizontalAdvance(longest))
                longest = combo->itemText(i);
        }
        return {longest, field.width()};
    }
    return {};
}

std::string Describe(QWidget* w) {
    const QVariant index = w->property("index");
    return Label(w->objectName().toUtf8().constData(), index.isValid() ? index.toInt() : -1);
}

class FormInEnglish : public ::testing::Test, protected FormFixture {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(InstallEnglishCaptions(*QCoreApplication::instance()));
    }

    void SetUp() override {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    void Click(const char* name, int index) {
        auto* button = form.Find<QAbstractButton>(name, index);
        ASSERT_NE(button, nullptr) << Label(name, index);
        QTest::mouseClick(button, Qt::LeftButton);
        ASSERT_TRUE(button->isChecked()) << Label(name, index);
    }

    // Every control shown on the window now.
    std::vector<QWidget*> ShownControls() {
        std::vector<QWidget*> shown;
        for (QWidget* w : form.findChildren<QWidget*>()) {
            if (!w->objectName().isEmpty() && w->isVisibleTo(&form))
                shown.push_back(w);
        }
        return shown;
    }
};

const QRegularExpression kChinese(QStringLiteral("[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));

struct PageCase {
    const char* what;
    int mode;       // Option2's index
    int windowPage; // 句柄选项's index, or -1
};

TEST_F(FormInEnglish, EveryCaptionOfEveryPageIsEnglishAndFits) {
    const PageCase pages[] = {
        {"colour lookup", 0, -1}, {"cursor shape", 1, -1}, {"window pick", 2, 0},
        {"window search", 2, 1},  {"window list", 2, 2},
    };
    for (const PageCase& page : pages) {
        SCOPED_TRACE(page.what);
        Click("Option2", page.mode);
        if (page.windowPage >= 0)
            Click("句柄选项", page.windowPage);
        int measured = 0;
        for (QWidget* w : ShownControls()) {
            EXPECT_FALSE(w->toolTip().contains(kChinese))
                << Describe(w) << ": " << w->toolTip().toStdString();
            const Room room = RoomOf(w);
            // The one- and two-letter captions (R, G, B, H, S, L, the slot
            // numbers, +, -) are the Chinese window's own.
            if (room.width < 0 || room.text.size() <= 2)
                continue;
            ++measured;
            EXPECT_FALSE(room.text.contains(kChinese))
                << Describe(w) << ": " << room.text.toStdString();
            EXPECT_LE(WidestLine(w->fontMetrics(), room.text), room.width)
                << Describe(w) << " \"" << room.text.toStdString() << "\" is cut";
        }
        EXPECT_GT(measured, 25) << "too few captions found to measure";
    }
    EXPECT_EQ(form.windowTitle().left(8), Q("Huegrab "));
    EXPECT_FALSE(form.windowTitle().contains(kChinese));
}

} // namespace
} // namespace huegrab
