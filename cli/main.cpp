// SPDX-License-Identifier: GPL-3.0-or-later
// huegrab-cli: the readings of the huegrab window for scripts, no Qt.
#include "cli/cli_arguments.h"
#include "cli/cli_commands.h"
#include "desktop/open_desktop.h"
#include "desktop/wayland_session.h"
#include "platform/device_pixels.h"
#include "platform/program_arguments.h"
#include "platform/program_folder.h"
#include "platform/standard_streams.h"
#include "settings/screen_share_token.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

void Write(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
}

// The desktop's reason can run over two lines; a script wants one.
std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

// Prints the result on stdout and the error line on stderr and ends with
// `status`, unless the result could not be written (stdout closed, a full
// disk, a closed pipe): a script must not take a reading it never got.
int Finish(const std::string& out, const std::string& error, int status, bool outputClosed) {
    Write(stdout, out);
    const bool written = std::fflush(stdout) == 0 && !std::ferror(stdout);
    if (!error.empty())
        Write(stderr, "huegrab-cli: " + error + "\n");
    if ((outputClosed && !out.empty()) || !written) {
        Write(stderr, "huegrab-cli: cannot write the output\n");
        return huegrab::cli::kExitUsage;
    }
    return status;
}

} // namespace

int main(int argc, char** argv) {
    using namespace huegrab;
    using namespace huegrab::cli;
    const bool outputClosed = platform::OpenClosedStandardStreams();
    platform::UseBinaryOutput();
    platform::UseDevicePixels();
    const std::vector<std::string> texts = platform::ProgramArguments(argc, argv);
    const std::vector<std::string_view> arguments(texts.begin(), texts.end());
    const ParsedArguments parsed = ParseArguments(arguments);
    if (const auto* error = std::get_if<UsageError>(&parsed)) {
        Write(stderr, "huegrab-cli: " + error->message + "\n");
        return kExitUsage;
    }
    if (const auto* help = std::get_if<HelpRequest>(&parsed))
        return Finish(help->command ? CommandHelp(*help->command) : ProgramHelp(), {}, kExitDone,
                      outputClosed);
    if (std::holds_alternative<VersionRequest>(parsed))
        return Finish("huegrab-cli " HUEGRAB_VERSION "\n", {}, kExitDone, outputClosed);
    const Request& request = std::get<Request>(parsed);
    std::unique_ptr<DesktopServices> desktop;
    if (NeedsDesktop(request)) {
        // A desktop that goes away mid-run (the X server quits) is no
        // desktop, as one that never opened.
        ExitWhenTheDesktopIsLost("huegrab-cli", kExitUsage);
        std::string whyNot;
        // On Wayland the pointer comes with a screen share, which the
        // desktop asks the user about once; config.ini keeps the answer.
        ScreenShareConsent consent;
        if (const std::optional<std::string> folder = platform::ProgramFolder()) {
            auto file = KeepScreenShareTokenFor(*folder);
            consent = {std::move(file.load), std::move(file.store)};
        }
        desktop = OpenDesktop(whyNot, WaylandSession::Screenshots, std::move(consent));
        if (!desktop) {
            Write(stderr, "huegrab-cli: " + FirstLine(whyNot) + "\n");
            return kExitUsage;
        }
        // As the window says it: a script's readings of such windows are
        // black, not wrong by mistake. The portal's screenshots have their
        // pixels, so only the X11 desktop in a Wayland session says it.
        if (ReadsThroughXWayland(*desktop))
            Write(stderr, WaylandSessionNote("huegrab-cli"));
    }
    // Said at once, before a wait for the user's click.
    const auto notice = [](const std::string& line) {
        Write(stderr, "huegrab-cli: " + line + "\n");
        std::fflush(stderr);
    };
    const Outcome outcome = RunRequest(request, desktop.get(), notice);
    desktop.reset();
    return Finish(outcome.out, outcome.error, outcome.status, outputClosed);
}
