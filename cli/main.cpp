// huegrab-cli: the readings of the huegrab window for scripts, no Qt.
#include "cli/cli_arguments.h"
#include "cli/cli_commands.h"
#include "desktop/open_desktop.h"

#include <cstdio>
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

} // namespace

int main(int argc, char** argv) {
    using namespace huegrab;
    using namespace huegrab::cli;
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const ParsedArguments parsed = ParseArguments(arguments);
    if (const auto* error = std::get_if<UsageError>(&parsed)) {
        Write(stderr, "huegrab-cli: " + error->message + "\n");
        return kExitUsage;
    }
    if (const auto* help = std::get_if<HelpRequest>(&parsed)) {
        Write(stdout, help->command ? CommandHelp(*help->command) : ProgramHelp());
        return kExitDone;
    }
    if (std::holds_alternative<VersionRequest>(parsed)) {
        Write(stdout, "huegrab-cli " HUEGRAB_VERSION "\n");
        return kExitDone;
    }
    const Request& request = std::get<Request>(parsed);
    std::unique_ptr<DesktopServices> desktop;
    if (NeedsDesktop(request)) {
        std::string whyNot;
        desktop = OpenDesktop(whyNot);
        if (!desktop) {
            Write(stderr, "huegrab-cli: " + FirstLine(whyNot) + "\n");
            return kExitUsage;
        }
    }
    const Outcome outcome = RunRequest(request, desktop.get());
    Write(stdout, outcome.out);
    if (!outcome.error.empty())
        Write(stderr, "huegrab-cli: " + outcome.error + "\n");
    return outcome.status;
}
