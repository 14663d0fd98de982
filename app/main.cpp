// ombrelix: the game in a desktop window (or full screen), started from its data directory.
// Reads the command line and the settings; the terminal stays quiet unless the player asks for
// the developer's log, and only what the player must know is said on standard error.
#include "app/Campaign.h"
#include "app/CommandLine.h"
#include "app/Game.h"
#include "app/LevelCheck.h"
#include "app/Settings.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Platform.h"
#include "platform/SdlWindow.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

const int kExitUsage = 2;

} // namespace

int main(int argc, char** argv) {
    LaunchOptions options;
    std::string error;
    switch (CommandLine::read(CommandLine::Program::Game,
                              std::vector<std::string>(argv + 1, argv + argc), options, error)) {
    case CommandLine::Outcome::Error:
        std::fprintf(stderr, "ombrelix: %s\n%s", error.c_str(),
                     CommandLine::usage(CommandLine::Program::Game).c_str());
        return kExitUsage;
    case CommandLine::Outcome::Help:
        std::fputs(CommandLine::help(CommandLine::Program::Game).c_str(), stdout);
        return kExitNormal;
    case CommandLine::Outcome::Version:
        std::fputs(CommandLine::version().c_str(), stdout);
        return kExitNormal;
    case CommandLine::Outcome::Play:
        break;
    }
    if (!options.checkLevelFile.empty()) {
        std::string report;
        const bool plays = LevelCheck::check(options.checkLevelFile, report);
        std::fputs(report.c_str(), stdout);
        return plays ? kExitNormal : kExitFileFailure;
    }
    if (options.saveSettings) {
        std::string why;
        if (!Settings::save(options.settingsFile, options, why)) {
            platform::warn("cannot write the settings to %s: %s", options.settingsFile.c_str(),
                           why.c_str());
        }
    }
    platform::setDebugLog(options.logFile);
    std::unique_ptr<Campaign> campaign;
    if (!OpenPlay(options, campaign)) {
        return kExitFileFailure;
    }

    platform::SdlWindow window;
    platform::Clock clock;
    const int exitCode = WinMain(window, clock, options, std::move(campaign));
    if (!window.hasDisplay()) {
        std::fprintf(stderr,
                     "ombrelix: no display to open the game window on (%s). Start it from a "
                     "desktop session, or use ombrelix-headless.\n",
                     window.displayError().c_str());
        return kExitWindowFailure;
    }
    if (exitCode == kExitWindowFailure) {
        std::fprintf(stderr, "ombrelix: the game window could not be opened%s%s.\n",
                     window.lastError().empty() ? "" : ": ", window.lastError().c_str());
    }
    return exitCode;
}
