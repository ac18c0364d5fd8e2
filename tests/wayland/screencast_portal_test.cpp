// SPDX-License-Identifier: GPL-3.0-or-later
// The screen-cast portal's steps against a fake portal on a private bus:
// what is asked for, what comes back, refusals, silence, and the session
// closed on every way out.
#include "desktop/wayland/screencast_portal.h"
#include "tests/wayland/fake_screencast_portal.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace huegrab::wayland {
namespace {

using namespace std::chrono_literals;
using test::FakeScreenCastPortal;
using test::FakeScreenCastSetup;

// The default answers, changed by `change`.
template <typename Change> FakeScreenCastSetup With(Change change) {
    FakeScreenCastSetup setup;
    change(setup);
    return setup;
}

std::optional<ScreenCastPortal> OpenPortal() {
    std::string whyNot;
    auto portal = ScreenCastPortal::Open(whyNot);
    EXPECT_TRUE(portal) << whyNot;
    return portal;
}

// The option `key` of the one SelectSources call, printed; "" when absent.
std::string SelectedOption(FakeScreenCastPortal& fake, const char* key) {
    const auto calls = fake.CallsOf("ScreenCast.SelectSources");
    if (calls.size() != 1)
        return "calls: " + std::to_string(calls.size());
    const VariantPtr options(g_variant_get_child_value(calls[0].body.get(), 1));
    const VariantPtr value(g_variant_lookup_value(options.get(), key, nullptr));
    if (!value)
        return "";
    const CharsPtr text(g_variant_print(value.get(), FALSE));
    return text.get();
}

// The session the cast was started in, as the portal was asked to close it.
std::vector<std::string> ClosedSessions(FakeScreenCastPortal& fake) {
    std::vector<std::string> paths;
    for (const auto& call : fake.CallsOf("Session.Close"))
        paths.push_back(call.path);
    return paths;
}

TEST(ScreenCastPortal, StartsACastOfOneMonitorAndHandsOverItsStreamAndToken) {
    FakeScreenCastPortal fake({});
    auto portal = OpenPortal();
    ASSERT_TRUE(portal);
    EXPECT_TRUE(portal->OffersCursorMetadata());
    std::string whyNot;
    std::optional<ScreenCast> cast = portal->Start("token-1", 2s, whyNot);
    ASSERT_TRUE(cast) << whyNot;

    EXPECT_EQ(SelectedOption(fake, "types"), "1");
    EXPECT_EQ(SelectedOption(fake, "multiple"), "false");
    EXPECT_EQ(SelectedOption(fake, "cursor_mode"), "4");
    EXPECT_EQ(SelectedOption(fake, "persist_mode"), "2");
    EXPECT_EQ(SelectedOption(fake, "restore_token"), "'token-1'");

    ASSERT_EQ(cast->Streams().size(), 1u);
    const ScreenCastStream& stream = cast->Streams()[0];
    EXPECT_EQ(stream.nodeId, 42u);
    EXPECT_TRUE(stream.positionKnown && stream.sizeKnown);
    EXPECT_EQ(stream.area, (ScreenRect{-1280, 40, 1280, 720}));
    EXPECT_TRUE(cast->CursorMetadata());
    EXPECT_EQ(cast->RestoreToken(), "token-2");
    EXPECT_FALSE(cast->PersistMode());

    // The fd is the portal's PipeWire connection, handed over once.
    const int fd = cast->ReleasePipeWireFd();
    ASSERT_GE(fd, 0);
    EXPECT_EQ(cast->ReleasePipeWireFd(), -1);
    ASSERT_EQ(write(fd, "p", 1), 1);
    char got = 0;
    EXPECT_EQ(read(fake.PipeWireReadEnd(), &got, 1), 1);
    EXPECT_EQ(got, 'p');
    close(fd);

    // The session lives as long as the cast, moved or not.
    const std::string session = fake.CallsOf("ScreenCast.Start").at(0).path;
    ScreenCast moved = std::move(*cast);
    cast.reset();
    EXPECT_TRUE(ClosedSessions(fake).empty());
    { const ScreenCast gone = std::move(moved); }
    const auto start = fake.CallsOf("ScreenCast.Start").at(0);
    const VariantPtr sessionArgument(g_variant_get_child_value(start.body.get(), 0));
    EXPECT_EQ(ClosedSessions(fake),
              std::vector<std::string>{g_variant_get_string(sessionArgument.get(), nullptr)});
}

TEST(ScreenCastPortal, AsksForWhatThePortalOffers) {
    struct Case {
        guint32 version;
        guint32 cursorModes;
        std::string token;
        const char* cursorMode;
        const char* persistMode;
        const char* restoreToken;
    };
    const Case cases[] = {
        {4, 1 | 2, "t", "1", "2", "'t'"}, // no metadata: hidden
        {4, 2, "", "", "2", ""},          // embedded only: the portal's choice
        {4, 7, "", "4", "2", ""},         // no token yet
        {3, 7, "t", "4", "", ""},         // before restore tokens
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("version " + std::to_string(c.version) + ", cursor modes " +
                     std::to_string(c.cursorModes));
        FakeScreenCastPortal fake(With([&](FakeScreenCastSetup& setup) {
            setup.version = c.version;
            setup.cursorModes = c.cursorModes;
        }));
        auto portal = OpenPortal();
        ASSERT_TRUE(portal);
        std::string whyNot;
        const auto cast = portal->Start(c.token, 2s, whyNot);
        ASSERT_TRUE(cast) << whyNot;
        EXPECT_EQ(cast->CursorMetadata(), (c.cursorModes & 4) != 0);
        EXPECT_EQ(SelectedOption(fake, "cursor_mode"), c.cursorMode);
        EXPECT_EQ(SelectedOption(fake, "persist_mode"), c.persistMode);
        EXPECT_EQ(SelectedOption(fake, "restore_token"), c.restoreToken);
    }
}

TEST(ScreenCastPortal, ARefusalOrSilenceGivesAReasonAndClosesTheSession) {
    struct Case {
        FakeScreenCastSetup setup;
        std::string reason;
        bool requestWithdrawn;
    };
    const Case cases[] = {
        {With([](auto& s) {
             s.codes = {{"CreateSession", 2}};
         }),
         "the screencast portal could not set up the cast (CreateSession failed)", false},
        {With([](auto& s) {
             s.codes = {{"SelectSources", 2}};
         }),
         "the screencast portal could not set up the cast (SelectSources failed)", false},
        {With([](auto& s) {
             s.codes = {{"Start", 1}};
         }),
         "the screen share was refused", false},
        {With([](auto& s) {
             s.codes = {{"Start", 2}};
         }),
         "the screencast portal could not start the cast", false},
        {With([](auto& s) { s.streams = false; }),
         "the screencast portal started a cast without a stream", false},
        {With([](auto& s) { s.silent = "Start"; }),
         "the screencast portal did not answer within 0 s", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        FakeScreenCastPortal fake(c.setup);
        auto portal = OpenPortal();
        ASSERT_TRUE(portal);
        std::string whyNot;
        EXPECT_FALSE(portal->Start("", 300ms, whyNot));
        EXPECT_EQ(whyNot, c.reason);
        const auto created = fake.CallsOf("ScreenCast.CreateSession");
        ASSERT_EQ(created.size(), 1u);
        const VariantPtr options(g_variant_get_child_value(created[0].body.get(), 0));
        const gchar* token = "";
        g_variant_lookup(options.get(), "session_handle_token", "&s", &token);
        const auto closed = ClosedSessions(fake);
        ASSERT_EQ(closed.size(), 1u);
        EXPECT_TRUE(closed[0].ends_with(std::string("/") + token)) << closed[0];
        // A request left waiting is withdrawn, and with it its dialog.
        EXPECT_EQ(fake.CallsOf("Request.Close").size(), c.requestWithdrawn ? 1u : 0u);
    }
}

TEST(ScreenCastPortal, OpensOnlyAPortalThatCastsMonitors) {
    test::PrivateSessionBus();
    std::string whyNot;
    EXPECT_FALSE(ScreenCastPortal::Open(whyNot));
    EXPECT_TRUE(whyNot.starts_with("no screencast portal on the session bus (")) << whyNot;

    const FakeScreenCastPortal windowsOnly(With([](auto& s) { s.sourceTypes = 2; }));
    EXPECT_FALSE(ScreenCastPortal::Open(whyNot));
    EXPECT_EQ(whyNot, "the desktop's screencast portal casts no monitors");
}

} // namespace
} // namespace huegrab::wayland
