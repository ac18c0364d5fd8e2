// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form/form1.h"
#include "app/main_window_controller.h"
#include "desktop/fake/fake_desktop.h"
#include "desktop/fake/fake_shell.h"

#include <QLineEdit>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace huegrab {

// The window with its handlers, started against a fake desktop of 800 x 600.
class AppFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Runs before the window starts: script the desktop here.
    virtual void PrepareDesktop() {}
    // Runs before the window starts: put a config.ini into `folder` here.
    virtual void PrepareFolder() {}

    std::string Text(std::string_view field) const;
    void Type(std::string_view field, const QString& text);
    void Click(std::string_view name, int index = -1);
    // Waits for the next tick of the running timer.
    bool WaitForTick();

    // A fresh application folder per test, so config.ini starts absent.
    std::filesystem::path folder;
    FakeDesktop desktop{800, 600, 0xFFFFFF};
    FakeShell shell;
    std::unique_ptr<Form1> form;
    std::unique_ptr<MainWindowController> controller;
};

} // namespace huegrab
