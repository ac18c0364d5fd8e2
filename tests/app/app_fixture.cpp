// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/app/app_fixture.h"

#include "tests/form/form_test_support.h"

#include <QLabel>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <filesystem>

namespace huegrab {

void AppFixture::SetUp() {
    std::string pattern = (std::filesystem::temp_directory_path() / "huegrab-app-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder = pattern;
    PrepareFolder();
    PrepareDesktop();
    form = std::make_unique<Form1>(shell);
    controller = std::make_unique<MainWindowController>(*form, desktop, folder.string());
    controller->Startup();
    form->show();
}

void AppFixture::TearDown() {
    controller.reset();
    form.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

std::string AppFixture::Text(std::string_view field) const {
    if (const auto text = testing_support::FieldTextOf(*form, field))
        return text->toStdString();
    if (auto* label = form->Find<QLabel>(field))
        return label->text().toStdString();
    if (auto* label = form->Find<ReadoutLabel>(field))
        return label->text().toStdString();
    ADD_FAILURE() << "no field " << field;
    return {};
}

void AppFixture::Type(std::string_view field, const QString& text) {
    QLineEdit* edit = form->Field(field);
    ASSERT_NE(edit, nullptr) << field;
    edit->clear();
    QTest::keyClicks(edit, text);
}

void AppFixture::Click(std::string_view name, int index) {
    QWidget* control = form->Control(name, index);
    ASSERT_NE(control, nullptr) << name << "(" << index << ")";
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(4, control->height() / 2));
}

bool AppFixture::WaitForTick() {
    const int reads = desktop.blockReads;
    return QTest::qWaitFor([&] { return desktop.blockReads > reads; }, 2000);
}

} // namespace huegrab
