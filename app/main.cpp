// ombrelix: the game in a desktop window (or full screen), started from its data directory.
// Reads the command line and the settings; the terminal stays quiet unless the player asks for
// the developer's log, and only what the player must know is said on standard error.
#include "app/CommandLine.h"
#include "app/Game.h"
#include "app/Settings.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "platform/SdlWindow.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const int kExitUsage = 2;

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    LaunchOptions options;
    options.audio = LaunchOptions::Audio::Device;

    // Read once to find help, errors and the settings file, then again over the settings, so
    // whatever the command line says wins.
    LaunchOptions scratch;
    const CommandLine::Result first = CommandLine::parse(arguments, scratch);
    switch (first.outcome) {
    case CommandLine::Outcome::Error:
        std::fprintf(stderr, "ombrelix: %s\n%s", first.error.c_str(), CommandLine::usage().c_str());
        return kExitUsage;
    case CommandLine::Outcome::Help:
        std::fputs(CommandLine::help().c_str(), stdout);
        return kExitNormal;
    case CommandLine::Outcome::Version:
        std::fputs(CommandLine::version().c_str(), stdout);
        return kExitNormal;
    case CommandLine::Outcome::Play:
        break;
    }
    const std::string settingsFile =
        first.settingsFile.empty() ? Settings::defaultPath() : first.settingsFile;
    std::vector<std::string> problems;
    Settings::load(settingsFile, options, problems);
    for (const std::string& problem : problems) {
        std::fprintf(stderr, "ombrelix: %s (line ignored)\n", problem.c_str());
    }
    CommandLine::parse(arguments, options);
    if (first.saveSettings) {
        std::string error;
        if (!Settings::save(settingsFile, options, error)) {
            std::fprintf(stderr, "ombrelix: cannot write the settings to %s: %s\n",
                         settingsFile.c_str(), error.c_str());
        }
    }

    if (options.logFile.empty()) {
        const char* fromEnvironment = std::getenv("OMBRELIX_LOG");
        if (fromEnvironment != nullptr && *fromEnvironment != '\0') {
            options.logFile = std::string(fromEnvironment) == "stderr"
                                  ? fromEnvironment
                                  : CommandLine::playerPath(fromEnvironment);
        }
    }
    if (!platform::setDebugLog(options.logFile)) {
        std::fprintf(stderr, "ombrelix: cannot write the log to %s: %s\n", options.logFile.c_str(),
                     std::strerror(errno));
    }

    std::FILE* level = std::fopen(options.levelFile.c_str(), "r");
    if (level == nullptr) {
        std::fprintf(stderr, "ombrelix: cannot read the level file %s: %s\n",
                     options.levelFile.c_str(), std::strerror(errno));
        return kExitWindowFailure;
    }
    std::fclose(level);

    platform::SdlWindow window;
    platform::Clock clock;
    const int exitCode = WinMain(window, clock, options);
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
