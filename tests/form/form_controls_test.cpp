// SPDX-License-Identifier: GPL-3.0-or-later
// The typed handles: every one resolves from the real layout, and a missing
// or mistyped control is reported by name instead of failing at a click.
#include "app/form/clickable_label.h"
#include "app/form/form_controls.h"
#include "app/form/readout_field.h"
#include "tests/form/form_test_support.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

namespace huegrab {
namespace {

using testing_support::FormFixture;

TEST(FormControls, ResolveFromTheLayoutAndNameWhatIsWrong) {
    FormFixture f;
    QLabel stranger;
    struct Case {
        const char* what;
        const char* dropped;  // looked up as missing
        const char* replaced; // answered with a QLabel
        std::vector<std::string> problems;
    };
    const Case cases[] = {
        {"the real layout", "", "", {}},
        {"a missing field", "得10r", "", {"no control 得10r"}},
        {"an array member", "色块", "", {}}, // filled below: one line per index
        {"a control of another class",
         "",
         "Check1",
         {"control Check1 is a QLabel, not a QCheckBox"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> expected = c.problems;
        if (std::string(c.dropped) == "色块")
            for (int i = 0; i < kColorSlotCount; ++i)
                expected.push_back("no control 色块(" + std::to_string(i) + ")");
        std::vector<std::string> problems;
        const FormControls controls = ResolveFormControls(
            [&](std::string_view name, int index) -> QWidget* {
                if (name == c.dropped)
                    return nullptr;
                if (name == c.replaced)
                    return &stranger;
                return f.form.Control(name, index);
            },
            problems);
        EXPECT_EQ(problems, expected) << c.what;
        if (expected.empty()) {
            // Spot checks that the handles are the controls of those names.
            EXPECT_EQ(static_cast<QWidget*>(controls.picked.color.l), f.form.Control("得10l"))
                << c.what;
            EXPECT_EQ(static_cast<QWidget*>(controls.lookup.decimalCode), f.form.Control("查16"))
                << c.what;
            EXPECT_EQ(static_cast<QWidget*>(controls.picked.slotLabels[9]),
                      f.form.Control("色块", 9))
                << c.what;
            EXPECT_EQ(static_cast<QWidget*>(controls.cursor.slotMarker), f.form.Control("焦点", 1))
                << c.what;
            EXPECT_EQ(static_cast<QWidget*>(controls.clipboard.pasteSearchTitle),
                      f.form.Control("Command11", 10))
                << c.what;
        }
    }
}

} // namespace
} // namespace huegrab
