// SPDX-License-Identifier: GPL-3.0-or-later
// The window and the real X11 desktop on a private Xvfb: the hotkey comes
// from config.ini, and when another client holds it the window says so,
// naming the key, in the lamp's tooltip and the caption beside the box.
#include "app/form/form1.h"
#include "app/main_window_controller.h"
#include "desktop/fake/fake_shell.h"
#include "desktop/x11/x11_desktop.h"
#include "tests/x11/support/test_client.h"
#include "tests/x11/support/xvfb_server.h"

#include <QCheckBox>
#include <QLabel>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace huegrab {
namespace {

struct Captions {
    std::string lampTooltip;
    std::string caption;
    std::string captionTooltip;
};

class HotkeyCaptionOnX11 : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server_ = xtest::XvfbServer::Start({.width = 320, .height = 240});
    }
    static void TearDownTestSuite() { server_.reset(); }

    void SetUp() override {
        ASSERT_NE(server_, nullptr);
        client_ = xtest::TestClient::Connect(server_->DisplayName());
        ASSERT_NE(client_, nullptr);
        desktop_ = X11Desktop::Open(server_->DisplayName().c_str());
        ASSERT_NE(desktop_, nullptr);
        std::string pattern =
            (std::filesystem::temp_directory_path() / "huegrab-hotkey-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override {
        controller_.reset();
        form_.reset();
        desktop_.reset();
        client_.reset();
        std::filesystem::remove_all(folder_);
    }

    Captions StartWindow(const std::string& config = "") {
        if (!config.empty())
            std::ofstream(folder_ / "config.ini", std::ios::binary) << config;
        form_ = std::make_unique<Form1>(shell_);
        controller_ = std::make_unique<MainWindowController>(*form_, *desktop_, folder_.string());
        controller_->Startup();
        const TrackingView& view = form_->Controls().tracking;
        return {view.lamp->toolTip().toStdString(), view.hotkeyCaption->text().toStdString(),
                view.hotkeyCaption->toolTip().toStdString()};
    }
    bool Checked() const { return form_->Controls().tracking.startStop->isChecked(); }
    // Presses keys with xdotool; true once the box shows `checked`.
    bool PressUntil(const std::string& keys, bool checked) {
        EXPECT_EQ(server_->Run({"xdotool", "key", keys}).exitCode, 0);
        return QTest::qWaitFor([&] { return Checked() == checked; }, 2000);
    }

    static inline std::unique_ptr<xtest::XvfbServer> server_;
    std::unique_ptr<xtest::TestClient> client_;
    std::unique_ptr<X11Desktop> desktop_;
    std::filesystem::path folder_;
    FakeShell shell_;
    std::unique_ptr<Form1> form_;
    std::unique_ptr<MainWindowController> controller_;
};

TEST_F(HotkeyCaptionOnX11, TheDefaultHotkeyIsNamedAndWorks) {
    const Captions captions = StartWindow();
    EXPECT_EQ(captions.lampTooltip, "Alt+~ 启动/停止");
    EXPECT_EQ(captions.caption, "[Alt+~]启动／停止");
    EXPECT_TRUE(PressUntil("alt+grave", true));
    EXPECT_TRUE(PressUntil("alt+grave", false));
}

TEST_F(HotkeyCaptionOnX11, AHotkeyTakenByAnotherClientIsNamedWhereTheUserLooks) {
    ASSERT_TRUE(client_->GrabKey("grave", xtest::kAltMask)); // the key left of 1 on us
    testing::internal::CaptureStderr();
    const Captions captions = StartWindow();
    const std::string diagnostics = testing::internal::GetCapturedStderr();
    EXPECT_NE(diagnostics.find("already grabbed"), std::string::npos) << diagnostics;
    EXPECT_EQ(captions.caption, "[Alt+~]已被占用");
    EXPECT_NE(captions.lampTooltip.find("热键 Alt+~ 已被其他程序占用"), std::string::npos)
        << captions.lampTooltip;
    EXPECT_NE(captions.captionTooltip.find("[Hotkey]"), std::string::npos)
        << captions.captionTooltip;
    EXPECT_FALSE(PressUntil("alt+grave", true)) << "the other client has the key";
    client_->UngrabKey("grave", xtest::kAltMask);
}

TEST_F(HotkeyCaptionOnX11, TheHotkeyOfConfigIniIsRegisteredAndNamed) {
    const Captions captions = StartWindow("[Hotkey]\r\nKey=Ctrl+Shift+F9\r\n");
    EXPECT_EQ(captions.lampTooltip, "Ctrl+Shift+F9 启动/停止");
    EXPECT_EQ(captions.caption, "[Ctrl+Shift+F9]启动／停止");
    EXPECT_FALSE(client_->GrabKey("F9", xtest::kShiftMask | xtest::kControlMask)) << "ours";
    EXPECT_TRUE(client_->GrabKey("grave", xtest::kAltMask)) << "the default is left free";
    client_->UngrabKey("grave", xtest::kAltMask);
    EXPECT_TRUE(PressUntil("ctrl+shift+F9", true));
    EXPECT_FALSE(PressUntil("alt+grave", false)) << "not the hotkey now";
    EXPECT_TRUE(PressUntil("ctrl+shift+F9", false));
}

TEST_F(HotkeyCaptionOnX11, AnUnreadableKeyKeepsTheDefault) {
    testing::internal::CaptureStderr();
    const Captions captions = StartWindow("[Hotkey]\r\nKey=Alt+Nothing\r\n");
    const std::string diagnostics = testing::internal::GetCapturedStderr();
    EXPECT_NE(diagnostics.find("Key=Alt+Nothing"), std::string::npos) << diagnostics;
    EXPECT_EQ(captions.caption, "[Alt+~]启动／停止");
    EXPECT_TRUE(PressUntil("alt+grave", true));
}

} // namespace
} // namespace huegrab
