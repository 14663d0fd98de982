// Parsing, usage and help of the desktop game's command line.
#include "app/CommandLine.h"

#include <cerrno>
#include <cstdlib>

#ifndef OMBRELIX_VERSION
#define OMBRELIX_VERSION "unknown"
#endif

std::string CommandLine::playerPath(const std::string& name) {
    const char* start = std::getenv("OMBRELIX_START_DIR");
    if (name.empty() || name[0] == '/' || start == nullptr || *start == '\0') {
        return name;
    }
    return std::string(start) + "/" + name;
}

CommandLine::Result CommandLine::parse(const std::vector<std::string>& arguments,
                                       LaunchOptions& options) {
    Result result;
    auto fail = [&result](const std::string& text) {
        result.outcome = Outcome::Error;
        result.error = text;
        return result;
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        if (name == "--") {
            if (i + 1 < arguments.size()) {
                return fail("unexpected argument '" + arguments[i + 1] + "'");
            }
            break;
        }
        std::string value;
        bool hasValue = false;
        const std::size_t equals = name.find('=');
        if (name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.erase(equals);
            hasValue = true;
        }
        const bool takesValue =
            name == "--level" || name == "--volume" || name == "--log" || name == "--settings";
        if (takesValue && !hasValue) {
            if (i + 1 >= arguments.size()) {
                return fail("option '" + name + "' needs a value");
            }
            value = arguments[++i];
        } else if (!takesValue && hasValue) {
            return fail("option '" + name + "' takes no value");
        }

        if (name == "-h" || name == "--help") {
            result.outcome = Outcome::Help;
            return result;
        } else if (name == "-V" || name == "--version") {
            result.outcome = Outcome::Version;
            return result;
        } else if (name == "-f" || name == "--fullscreen") {
            options.fullscreen = LaunchOptions::Fullscreen::Yes;
        } else if (name == "-w" || name == "--windowed") {
            options.fullscreen = LaunchOptions::Fullscreen::No;
        } else if (name == "--level") {
            options.levelFile = playerPath(value);
        } else if (name == "--volume") {
            if (!LaunchOptions::readVolume(value, options.volume)) {
                return fail("--volume needs a whole number from 0 to 100");
            }
        } else if (name == "--mute") {
            options.mute = true;
        } else if (name == "--log") {
            options.logFile = value == "stderr" ? value : playerPath(value);
        } else if (name == "--settings") {
            result.settingsFile = playerPath(value);
        } else if (name == "--save-settings") {
            result.saveSettings = true;
        } else if (name.size() > 1 && name[0] == '-') {
            return fail("unknown option '" + name + "'");
        } else {
            return fail("unexpected argument '" + name + "'");
        }
    }
    return result;
}

std::string CommandLine::usage() {
    return "usage: ombrelix [-f|--fullscreen | -w|--windowed] [--level FILE] [--volume N] "
           "[--mute]\n"
           "                [--log FILE] [--settings FILE] [--save-settings] [-h|--help] "
           "[-V|--version]\n";
}

std::string CommandLine::help() {
    return usage() +
           "\nA small 3D space shooter: fly through asteroid fields and fight enemy fighters.\n\n"
           "  -f, --fullscreen   play full screen without asking\n"
           "  -w, --windowed     play in a window without asking\n"
           "      --level FILE   play this level file instead of the game's own\n"
           "      --volume N     sound volume, 0 to 100\n"
           "      --mute         no sound\n"
           "      --log FILE     write the developer's log to FILE (or 'stderr'); the\n"
           "                     environment variable OMBRELIX_LOG does the same\n"
           "      --settings FILE  read the settings from FILE instead of\n"
           "                     $XDG_CONFIG_HOME/ombrelix/settings.ini\n"
           "      --save-settings  write the settings as given now into the settings file\n"
           "  -h, --help         show this help and end\n"
           "  -V, --version      show the version and end\n\n"
           "Keys: S/F turn, E/D nose down/up, W/R roll, I/K faster/slower, U fire,\n"
           "Enter plays again after the level ends, Esc quits. A gamepad works too.\n";
}

std::string CommandLine::version() {
    return std::string("ombrelix ") + OMBRELIX_VERSION + "\n";
}
