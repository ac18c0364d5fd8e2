// SPDX-License-Identifier: GPL-3.0-or-later
// The readout field against the read-only line edit it replaces: the same
// picture for the same text and state, and the same ways to select and copy.
#include "app/form/form_colors.h"
#include "app/form/form_style.h"
#include "app/form/readout_field.h"
#include "tests/form/form_test_support.h"

#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <climits>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace huegrab {
namespace {

using testing_support::FormFixture;
using testing_support::Q;

// A read-only line edit set up exactly as the readout beside it.
std::unique_ptr<QLineEdit> LineEditTwin(const ReadoutField& readout) {
    auto twin = std::make_unique<QLineEdit>(readout.parentWidget());
    twin->setReadOnly(true);
    twin->setStyle(SharedFormStyle());
    twin->setGeometry(readout.geometry());
    twin->setPalette(readout.palette());
    twin->setAutoFillBackground(true);
    twin->setAlignment(readout.alignment());
    FitFieldText(twin.get());
    return twin;
}

// How many pixels differ; the sizes must match first.
int DifferingPixels(QWidget& one, QWidget& other) {
    const QImage a = one.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage b = other.grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (a.size() != b.size())
        return -1;
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            differing += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    return differing;
}

void Focus(QWidget* widget) {
    QApplication::setActiveWindow(widget->window());
    widget->setFocus();
    QApplication::processEvents();
}

// Every kind of readout on the window - narrow and wide, left and centred -
// with the texts the program writes and texts a damaged settings file could
// put there, plain, with part selected and with the focus.
TEST(ReadoutField, DrawsWhatAReadOnlyLineEditDraws) {
    FormFixture f;
    f.form.show();
    // Taller fields than the window has, with the line edit's own margins:
    // there the height of each text's glyphs moves it by a pixel ("|" reaches
    // lower than the font's descent). Also at the top and at the bottom.
    std::vector<ReadoutField*> readouts;
    std::vector<ReadoutField*> tall;
    for (const Qt::Alignment vertical : {Qt::AlignVCenter, Qt::AlignTop, Qt::AlignBottom}) {
        auto* field = new ReadoutField(f.form.Control("Frame1", 1)); // owned by the frame
        field->setGeometry(2, 2, 90, 30);
        field->setStyle(SharedFormStyle());
        field->setAlignment(Qt::AlignLeft | vertical);
        SetBackColor(field, kLightGrey);
        field->setObjectName(QStringLiteral("tall %1").arg(int(vertical)));
        field->show();
        readouts.push_back(field);
        tall.push_back(field);
    }
    for (const char* name : {"得x", "得16", "得10", "得16r", "得10h", "查10l"})
        readouts.push_back(f.form.Readout(name));
    const QString texts[] = {
        Q(""),     Q("0"),        Q("255"),      Q("9ABECB"),  Q("16777215"),
        Q("-1"),   Q("国色 gy"),  Q("a\tb\nc "), Q("שלום 12"), Q("123456789012345678901234567890"),
        Q("|_ ~"), Q("(1919, y)")};
    for (ReadoutField* readout : readouts) {
        ASSERT_NE(readout, nullptr);
        const std::string name = readout->objectName().toStdString();
        const auto twin = LineEditTwin(*readout);
        if (std::find(tall.begin(), tall.end(), readout) != tall.end())
            twin->setTextMargins(QMargins());
        twin->show();
        for (const QString& text : texts) {
            SCOPED_TRACE(name + " \"" + text.toStdString() + "\"");
            readout->setText(text);
            twin->setFont(readout->ShownFont()); // narrower for a text a little too wide
            twin->setText(text);
            twin->setCursorPosition(0); // as the program writes a line edit
            EXPECT_EQ(DifferingPixels(*readout, *twin), 0) << "plain";
            readout->setSelection(1, 2);
            twin->setSelection(1, 2);
            EXPECT_EQ(DifferingPixels(*readout, *twin), 0) << "part selected";
            // Only one can have the focus: each is drawn against the other's
            // picture taken while it had it.
            Focus(readout);
            const QImage focused = readout->grab().toImage();
            Focus(twin.get());
            EXPECT_EQ(focused, twin->grab().toImage()) << "focused";
            twin->clearFocus();
        }
    }
}

TEST(ReadoutField, SelectsAndCopiesAsAFieldDoes) {
    FormFixture f;
    f.form.show();
    ReadoutField* field = f.form.Readout("得10");
    ASSERT_NE(field, nullptr);
    field->setText(Q("16777215"));
    QApplication::setActiveWindow(&f.form);
    QClipboard* clipboard = QGuiApplication::clipboard();

    // A drag from the first character selects up to the pointer.
    const QRect first = field->CharacterRect(0);
    const QRect fourth = field->CharacterRect(3);
    QTest::mousePress(field, Qt::LeftButton, {}, QPoint(first.left(), first.center().y()));
    QTest::mouseMove(field, QPoint(fourth.right() + 1, fourth.center().y()));
    QTest::mouseRelease(field, Qt::LeftButton, {}, QPoint(fourth.right() + 1, fourth.center().y()));
    EXPECT_EQ(field->selectedText(), Q("1677"));
    EXPECT_TRUE(field->hasFocus());

    // Ctrl+A, Ctrl+C: the whole value on the clipboard.
    clipboard->clear();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), Q("16777215"));

    // The same text again keeps the selection; a new one drops it.
    field->setText(Q("16777215"));
    EXPECT_EQ(field->selectedText(), Q("16777215"));
    field->setText(Q("42"));
    EXPECT_FALSE(field->hasSelectedText());

    // A double click takes the value, and a third click keeps it; moving
    // the focus away lets it go.
    QTest::mouseDClick(field, Qt::LeftButton, {}, field->rect().center());
    EXPECT_EQ(field->selectedText(), Q("42"));
    QTest::mouseClick(field, Qt::LeftButton, {}, field->rect().center());
    EXPECT_EQ(field->selectedText(), Q("42"));
    f.form.Field("自x")->setFocus(Qt::MouseFocusReason);
    EXPECT_FALSE(field->hasSelectedText());

    // Tabbing in selects all, as in any field.
    field->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(field->selectedText(), Q("42"));

    // Its copy keys come before any window shortcut on the same keys.
    QKeyEvent copyFirst(QEvent::ShortcutOverride, Qt::Key_C, Qt::ControlModifier);
    copyFirst.ignore();
    QApplication::sendEvent(field, &copyFirst);
    EXPECT_TRUE(copyFirst.isAccepted());

    // Keys it has no use for go on to the window (the arrow keys nudge).
    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    QApplication::sendEvent(field, &left);
    EXPECT_FALSE(left.isAccepted());

    // A text longer than a field holds is cut where a line edit cuts it.
    field->setText(QString(40000, QLatin1Char('7')));
    EXPECT_EQ(field->text().size(), ReadoutField::kMaxLength);
}

// A value too wide for its field at the window's font shows its start,
// never with its first characters scrolled out of view: "DDDDDD" must not
// read as "DDDDD", nor 999.999999999 (relative to an origin of 1e-9) as
// "9999999". A little too wide (six wide hex digits) is drawn narrower and
// whole, and the picture stays a line edit's with the same narrower font.
TEST(ReadoutField, AValueTooWideShowsItsStart) {
    FormFixture f;
    f.form.show();
    const struct {
        const char* field;
        const char* text;
        bool whole; // narrowed until it fits
    } kCases[] = {
        {"得16", "DDDDDD", true}, {"自16", "BBBBBB", true}, {"得x", "999.999999999", false}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string(c.field) + " " + c.text);
        ReadoutField* field = f.form.Readout(c.field);
        ASSERT_NE(field, nullptr);
        field->setText(Q(c.text));
        const int length = static_cast<int>(field->text().size());
        ASSERT_GT(QFontMetrics(field->font()).horizontalAdvance(field->text()),
                  field->width() - 4); // too wide at the window's font
        EXPECT_GE(field->CharacterRect(0).left(), 1);
        if (!c.whole)
            continue;
        EXPECT_LE(field->CharacterRect(length - 1).right(), field->width() - 2);
        const auto twin = LineEditTwin(*field);
        twin->setFont(field->ShownFont());
        twin->setText(field->text());
        twin->show();
        EXPECT_EQ(DifferingPixels(*field, *twin), 0);
    }
}

TEST(ReadoutField, ScreenReadersReadTheValue) {
    FormFixture f;
    ReadoutField* field = f.form.Readout("得16");
    ASSERT_NE(field, nullptr);
    field->setText(Q("CC6633"));
    field->setSelection(2, 2);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(field);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::EditableText);
    EXPECT_TRUE(accessible->state().readOnly);
    EXPECT_EQ(accessible->text(QAccessible::Value), Q("CC6633"));
    QAccessibleTextInterface* text = accessible->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->characterCount(), 6);
    EXPECT_EQ(text->text(0, 2), Q("CC"));
    int start = -1, end = -1;
    text->selection(0, &start, &end);
    EXPECT_EQ(start, 2);
    EXPECT_EQ(end, 4);
    // The caret is where the field's is, at either end of a selection.
    text->setCursorPosition(2);
    EXPECT_EQ(text->cursorPosition(), 2);
    field->setSelection(4, -3);
    EXPECT_EQ(text->cursorPosition(), 1);
}

// What assistive technology asks with offsets and ranges of its own
// choosing - reversed, negative, past the text, -1 for the end and -2 for
// the caret - the field answers as a read-only line edit with the same text
// and caret does.
TEST(ReadoutField, ScreenReadersGetWhatALineEditGives) {
    FormFixture f;
    f.form.show();
    ReadoutField* field = f.form.Readout("得16");
    ASSERT_NE(field, nullptr);
    const auto twin = LineEditTwin(*field);
    twin->show();
    const int kRanges[][2] = {{0, 2}, {3, 1}, {-2, 3}, {5, 99}, {7, 9}, {-5, -1}, {2, 2}};
    const int kOffsets[] = {-2, -1, 0, 3, 5, 6, 7};
    for (const QString& text : {Q("CC6633"), Q("ab cd. Ef"), Q("")}) {
        field->setText(text);
        twin->setText(text);
        QAccessibleTextInterface* ours =
            QAccessible::queryAccessibleInterface(field)->textInterface();
        QAccessibleTextInterface* theirs =
            QAccessible::queryAccessibleInterface(twin.get())->textInterface();
        ASSERT_NE(ours, nullptr);
        ours->setCursorPosition(3);
        twin->setCursorPosition(3); // both before the text's end
        for (const auto& range : kRanges) {
            SCOPED_TRACE(text.toStdString() + " text(" + std::to_string(range[0]) + ", " +
                         std::to_string(range[1]) + ")");
            EXPECT_EQ(ours->text(range[0], range[1]).toStdString(),
                      theirs->text(range[0], range[1]).toStdString());
        }
        for (const int offset : kOffsets) {
            SCOPED_TRACE(text.toStdString() + " at " + std::to_string(offset));
            EXPECT_EQ(ours->characterRect(offset).isNull(), theirs->characterRect(offset).isNull());
            if (offset == -1 || offset >= text.size())
                continue; // at the end: see below
            for (const auto type : {QAccessible::CharBoundary, QAccessible::WordBoundary,
                                    QAccessible::SentenceBoundary, QAccessible::LineBoundary}) {
                int start[2] = {}, end[2] = {};
                EXPECT_EQ(ours->textAtOffset(offset, type, &start[0], &end[0]).toStdString(),
                          theirs->textAtOffset(offset, type, &start[1], &end[1]).toStdString())
                    << type;
                EXPECT_EQ(ours->textBeforeOffset(offset, type, &start[0], &end[0]).toStdString(),
                          theirs->textBeforeOffset(offset, type, &start[1], &end[1]).toStdString())
                    << type;
                EXPECT_EQ(start[0], start[1]) << type;
                EXPECT_EQ(end[0], end[1]) << type;
            }
        }
    }
}

// Where a line edit has no sane answer - it never returns from the word at
// the text's end, ignores a selection starting outside the text, and takes
// a range's length in an int - the field keeps to its text.
TEST(ReadoutField, ScreenReadersMayAskForAnyRange) {
    FormFixture f;
    ReadoutField* field = f.form.Readout("得10");
    ASSERT_NE(field, nullptr);
    field->setText(Q("16777215"));
    field->selectAll(); // as tabbing in does: the caret at the end
    QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(field)->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(-1, INT_MAX).toStdString(), "16777215");
    EXPECT_EQ(text->text(INT_MIN, INT_MAX).toStdString(), "16777215");
    const struct {
        int start, end;
        const char* selected;
        int cursor;
    } kSelections[] = {{-3, 2, "16", 2},
                       {10, 5, "215", 5},
                       {-1, INT_MAX, "16777215", 8},
                       {INT_MIN, INT_MAX, "16777215", 8},
                       {INT_MAX, INT_MIN, "16777215", 0}};
    for (const auto& s : kSelections) {
        SCOPED_TRACE(std::to_string(s.start) + ", " + std::to_string(s.end));
        text->setSelection(0, s.start, s.end);
        EXPECT_EQ(field->selectedText().toStdString(), s.selected);
        EXPECT_EQ(text->cursorPosition(), s.cursor);
    }
    // Nothing lies at the end of the text (-1), where the caret is (-2).
    field->selectAll();
    for (const int offset : {-2, -1, 8}) {
        for (const auto type : {QAccessible::WordBoundary, QAccessible::SentenceBoundary}) {
            int start = 0, end = 0;
            EXPECT_EQ(text->textAtOffset(offset, type, &start, &end).toStdString(), "") << offset;
            EXPECT_EQ(start, -1);
            EXPECT_EQ(end, -1);
        }
    }
}

// The raw-position label against the plain-text label it replaces: left and
// centred, on the window and on a frame, enabled and not.
TEST(ReadoutLabel, DrawsWhatAPlainLabelDraws) {
    FormFixture f;
    f.form.show();
    ReadoutLabel* raw = f.form.Find<ReadoutLabel>("Label9");
    ASSERT_NE(raw, nullptr);
    auto* centred = new ReadoutLabel(f.form.Control("Frame1", 1)); // owned by the frame
    centred->setGeometry(4, 4, 70, 17);
    centred->setStyle(SharedFormStyle());
    centred->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    centred->show();
    const QString texts[] = {Q("x:0\u3000y:0"),
                             Q("x:100  y:200"),
                             Q("x:-5  y:1079"),
                             Q(""),
                             Q("国色 gy|"),
                             Q("a\tb"),
                             Q("two\nlines"),
                             Q("שלום 12"),
                             Q("x:1234567890  y:1234567890"),
                             Q(" 12  ")};
    for (ReadoutLabel* label : {raw, centred}) {
        QLabel twin(label->parentWidget());
        twin.setTextFormat(Qt::PlainText);
        twin.setStyle(SharedFormStyle());
        twin.setGeometry(label->geometry());
        twin.setPalette(label->palette());
        twin.setAutoFillBackground(true);
        twin.setAlignment(label->alignment());
        twin.show();
        for (const bool enabled : {true, false}) {
            label->setEnabled(enabled);
            twin.setEnabled(enabled);
            for (const QString& text : texts) {
                SCOPED_TRACE((label == raw ? "Label9" : "centred") + std::string(" \"") +
                             text.toStdString() + (enabled ? "\"" : "\" disabled"));
                label->setText(text);
                twin.setText(text);
                EXPECT_EQ(DifferingPixels(*label, twin), 0);
            }
        }
    }
    raw->setText(Q("x:7  y:8"));
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(raw);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::StaticText);
    EXPECT_EQ(accessible->text(QAccessible::Name), Q("x:7  y:8"));
}

} // namespace
} // namespace huegrab
