// SPDX-License-Identifier: GPL-3.0-or-later
// The error trap on a private Xvfb: which request failed, as the server
// reported it, reaches the trap that was open when the request was sent.

// GoogleTest before Xlib, whose None and Bool macros its names clash with.
// clang-format off
#include <gtest/gtest.h>
// clang-format on

#include "desktop/x11/x11_error_trap.h"
#include "tests/x11/support/x_connection.h"
#include "tests/x11/support/xvfb_server.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/xfixeswire.h>
#include <functional>
#include <memory>

namespace huegrab::x11 {
namespace {

// No client of the test server is given ids this high.
constexpr XID kNoSuchId = 0x1FFFFFFF;

class X11ErrorTrap : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server_ = xtest::XvfbServer::Start({.width = 64, .height = 64});
    }
    static void TearDownTestSuite() { server_.reset(); }

    void SetUp() override {
        ASSERT_NE(server_, nullptr) << "the X server did not start";
        connection_ = xtest::OpenConnection(server_->DisplayName());
        ASSERT_NE(connection_, nullptr);
    }

    Display* display() const { return connection_.get(); }

    static inline std::unique_ptr<xtest::XvfbServer> server_;
    xtest::XConnection connection_;
};

TEST_F(X11ErrorTrap, KeepsTheFailedRequestsCodesSerialAndResource) {
    struct Case {
        const char* name;
        std::function<void(Display*)> request;
        int errorCode;
        int requestCode;
    };
    const Case cases[] = {
        {"MapWindow", [](Display* d) { XMapWindow(d, kNoSuchId); }, BadWindow, X_MapWindow},
        {"FreePixmap", [](Display* d) { XFreePixmap(d, kNoSuchId); }, BadPixmap, X_FreePixmap},
        // One that waits for its reply reports the error before it returns.
        {"GetGeometry",
         [](Display* d) {
             Window root = 0;
             int x = 0, y = 0;
             unsigned width = 0, height = 0, border = 0, depth = 0;
             XGetGeometry(d, kNoSuchId, &root, &x, &y, &width, &height, &border, &depth);
         },
         BadDrawable, X_GetGeometry},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        XErrorTrap trap(display());
        XNoOp(display()); // a request that succeeds first
        const unsigned long serial = NextRequest(display());
        c.request(display());
        EXPECT_EQ(trap.Sync(), c.errorCode);
        ASSERT_TRUE(trap.FirstError().has_value());
        const XErrorEvent& error = *trap.FirstError();
        EXPECT_EQ(error.error_code, c.errorCode);
        EXPECT_EQ(error.request_code, c.requestCode);
        EXPECT_EQ(error.minor_code, 0);
        EXPECT_EQ(error.resourceid, kNoSuchId);
        EXPECT_EQ(error.serial, serial);
    }
}

TEST_F(X11ErrorTrap, NamesAnExtensionRequestByItsMinorCode) {
    int opcode = 0, eventBase = 0, errorBase = 0;
    ASSERT_TRUE(XQueryExtension(display(), "XFIXES", &opcode, &eventBase, &errorBase));
    int major = 0, minor = 0;
    ASSERT_TRUE(XFixesQueryVersion(display(), &major, &minor)); // regions come with version 2
    ASSERT_GE(major, 2);

    XErrorTrap trap(display());
    const unsigned long serial = NextRequest(display());
    XFixesDestroyRegion(display(), kNoSuchId);
    EXPECT_EQ(trap.Sync(), errorBase + BadRegion);
    ASSERT_TRUE(trap.FirstError().has_value());
    EXPECT_EQ(trap.FirstError()->request_code, opcode);
    EXPECT_EQ(trap.FirstError()->minor_code, X_XFixesDestroyRegion);
    EXPECT_EQ(trap.FirstError()->resourceid, kNoSuchId);
    EXPECT_EQ(trap.FirstError()->serial, serial);
}

TEST_F(X11ErrorTrap, KeepsTheFirstErrorAndLeavesAQuietTrapClean) {
    {
        XErrorTrap trap(display());
        XNoOp(display());
        EXPECT_EQ(trap.Sync(), 0);
        EXPECT_FALSE(trap.Failed());
        EXPECT_FALSE(trap.FirstError().has_value());
    }
    XErrorTrap trap(display());
    XMapWindow(display(), kNoSuchId);
    XFreePixmap(display(), kNoSuchId);
    trap.Sync();
    ASSERT_TRUE(trap.Failed());
    EXPECT_EQ(trap.FirstError()->request_code, X_MapWindow);
    EXPECT_EQ(trap.ErrorCode(), BadWindow);
}

TEST_F(X11ErrorTrap, AnErrorGoesToTheTrapOpenWhenItsRequestWasSent) {
    XErrorTrap outer(display());
    // Sent before the inner trap opens, reported while it is open.
    const unsigned long mapSerial = NextRequest(display());
    XMapWindow(display(), kNoSuchId);
    {
        XErrorTrap inner(display());
        XFreePixmap(display(), kNoSuchId);
        EXPECT_EQ(inner.Sync(), BadPixmap);
        EXPECT_EQ(inner.FirstError()->request_code, X_FreePixmap);
    }
    ASSERT_TRUE(outer.Failed());
    EXPECT_EQ(outer.FirstError()->request_code, X_MapWindow);
    EXPECT_EQ(outer.FirstError()->serial, mapSerial);
}

TEST_F(X11ErrorTrap, AnOuterTrapTakesErrorsAgainOnceTheInnerOneCloses) {
    XErrorTrap outer(display());
    {
        XErrorTrap inner(display());
        XFreePixmap(display(), kNoSuchId);
        EXPECT_EQ(inner.Sync(), BadPixmap);
    }
    EXPECT_FALSE(outer.Failed());
    const unsigned long serial = NextRequest(display());
    XUnmapWindow(display(), kNoSuchId);
    EXPECT_EQ(outer.Sync(), BadWindow);
    EXPECT_EQ(outer.FirstError()->request_code, X_UnmapWindow);
    EXPECT_EQ(outer.FirstError()->serial, serial);
}

} // namespace
} // namespace huegrab::x11
