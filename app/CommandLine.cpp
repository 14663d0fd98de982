// The table of options, its reading with getopt_long, and the usage and help made from it.
#include "app/CommandLine.h"

#include "app/Progress.h"
#include "app/Settings.h"
#include "level/CampaignReader.h"
#include "platform/Files.h"
#include "world/ElementContainer.h"

#include <getopt.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

#ifndef OMBRELIX_VERSION
#define OMBRELIX_VERSION "unknown"
#endif

namespace {

const unsigned kBoth = CommandLine::kGame | CommandLine::kRunner;
// getopt_long's code for the row at index i; above every character a short option can be.
const int kLongCode = 256;
const long kMaxFrames = 1000L * 1000L * 1000L;
const long kMaxSurfaceSide = 8192; // pixels; off-screen surfaces beyond it are refused by Mesa
const char* const kGameCampaign = "data/levels/campaign.xml"; // in the run directory

enum class Id {
    Fullscreen,
    Windowed,
    FullscreenMode,
    Level,
    Campaign,
    CampaignLevel,
    Progress,
    ResetProgress,
    Volume,
    Mute,
    Log,
    Settings,
    SaveSettings,
    CheckLevel,
    Frames,
    Dt,
    Seed,
    Script,
    Answer,
    Size,
    Screenshot,
    Report,
    PlainDrawing,
    AudioOut,
    Help,
    Version
};

struct Row {
    Id id;
    CommandLine::Option option;
};

const Row kRows[] = {
    {Id::Fullscreen, {"fullscreen", 'f', nullptr, "play full screen without asking", kBoth}},
    {Id::Windowed, {"windowed", 'w', nullptr, "play in a window without asking", kBoth}},
    {Id::FullscreenMode,
     {"fullscreen-mode", 0, "desktop|1024x768",
      "full screen at the desktop's own resolution (the default, Alt+Enter switches), or in the "
      "game's 1024x768 mode, the fastest without a graphics card",
      kBoth}},
    {Id::Level,
     {"level", 0, "FILE", "play this level file alone (the runner's own is data/levels/level.xml)",
      kBoth}},
    {Id::Campaign,
     {"campaign", 0, "FILE",
      "play the campaign in FILE, level after level (the game plays its own unless given --level)",
      kBoth}},
    {Id::CampaignLevel,
     {"campaign-level", 0, "N",
      "start the campaign at its Nth level, counting from 1 (a level completed there counts)",
      kBoth}},
    {Id::Progress,
     {"progress", 0, "FILE",
      "keep the campaign's progress and best times in FILE (the game keeps them in "
      "$XDG_DATA_HOME/ombrelix/progress.ini; the runner keeps none otherwise)",
      kBoth}},
    {Id::ResetProgress,
     {"reset-progress", 0, nullptr,
      "start the campaign afresh: the progress file is kept aside as FILE.old", kBoth}},
    {Id::Volume, {"volume", 0, "N", "sound volume, 0 to 100", kBoth}},
    {Id::Mute, {"mute", 0, nullptr, "start with the sound off (M turns it on)", kBoth}},
    {Id::Log,
     {"log", 0, "FILE",
      "write the developer's log to FILE, or to standard error for 'stderr' (the game's "
      "OMBRELIX_LOG does the same; the runner logs to standard error by default)",
      kBoth}},
    {Id::Settings,
     {"settings", 0, "FILE",
      "read the settings from FILE (the game reads $XDG_CONFIG_HOME/ombrelix/settings.ini "
      "otherwise)",
      kBoth}},
    {Id::SaveSettings,
     {"save-settings", 0, nullptr, "write the settings as given now into the settings file",
      CommandLine::kGame}},
    {Id::CheckLevel,
     {"check-level", 0, "FILE",
      "report on a level file for its maker (objects by kind, targets, pairs touching at the "
      "start, objects near the start or out of reach, the object limit) and end: 0 when the game "
      "would play it, 1 when it would refuse it",
      CommandLine::kGame}},
    {Id::Frames, {"frames", 0, "N", "quit after N drawn frames (600)", CommandLine::kRunner}},
    {Id::Dt,
     {"dt", 0, "SECONDS", "each drawn frame takes this long on a virtual clock (repeatable runs)",
      CommandLine::kRunner}},
    {Id::Seed, {"seed", 0, "N", "seed the random numbers with N", CommandLine::kRunner}},
    {Id::Script,
     {"script", 0, "FILE",
      "window messages to play, one per line ('10 down U', '90 close'); '-' reads them from "
      "standard input",
      CommandLine::kRunner}},
    {Id::Answer,
     {"answer", 0, "yes|no", "the answer to every yes/no question (no)", CommandLine::kRunner}},
    {Id::Size,
     {"size", 0, "WxH", "draw on an off-screen surface of W x H pixels (1024x768)",
      CommandLine::kRunner}},
    {Id::Screenshot,
     {"screenshot", 0, "FILE.ppm", "write the last drawn frame as a PPM picture",
      CommandLine::kRunner}},
    {Id::Report,
     {"report", 0, nullptr,
      "print frame-time statistics, heap allocations per frame and the CPU time of the "
      "frame's passes",
      CommandLine::kRunner}},
    {Id::PlainDrawing,
     {"plain-drawing", 0, "LIST",
      "switch drawing shortcuts off: all, or some of dust,culling,text,cockpit,lists,wires,"
      "effects,overlay,aspect,radar (aspect: the overlays stretched over the window)",
      CommandLine::kRunner}},
    {Id::AudioOut,
     {"audio-out", 0, "FILE.wav", "render the game's sound into a WAV file in step with the frames",
      CommandLine::kRunner}},
    {Id::Help, {"help", 'h', nullptr, "show this help and end", kBoth}},
    {Id::Version, {"version", 'V', nullptr, "show the version and end", kBoth}},
};
const std::size_t kRowCount = sizeof kRows / sizeof kRows[0];

const struct {
    const char* name;
    unsigned bit;
} kShortcutNames[] = {{"dust", kShortcutDust},       {"culling", kShortcutCulling},
                      {"text", kShortcutText},       {"cockpit", kShortcutCockpit},
                      {"lists", kShortcutLists},     {"wires", kShortcutWires},
                      {"effects", kShortcutEffects}, {"overlay", kShortcutOverlayTexels},
                      {"aspect", kShortcutAspect},   {"radar", kShortcutRadar}};

unsigned programBit(CommandLine::Program program) {
    return program == CommandLine::Program::Game ? CommandLine::kGame : CommandLine::kRunner;
}

const char* programName(CommandLine::Program program) {
    return program == CommandLine::Program::Game ? "ombrelix" : "ombrelix-headless";
}

// A whole number from low to high, all of the text.
bool readWhole(const char* text, long low, long high, long& value) {
    errno = 0;
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return *text != '\0' && *end == '\0' && errno == 0 && value >= low && value <= high;
}

bool readPositiveSeconds(const char* text, double& value) {
    errno = 0;
    char* end = nullptr;
    value = std::strtod(text, &end);
    return *text != '\0' && *end == '\0' && errno == 0 && std::isfinite(value) && value > 0.0;
}

// "1920x1080": both sides from 1 to kMaxSurfaceSide pixels.
bool readSize(const char* text, int& width, int& height) {
    const std::string size = text;
    const std::size_t x = size.find('x');
    long w = 0;
    long h = 0;
    if (x == std::string::npos || !readWhole(size.substr(0, x).c_str(), 1, kMaxSurfaceSide, w) ||
        !readWhole(size.substr(x + 1).c_str(), 1, kMaxSurfaceSide, h)) {
        return false;
    }
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

// Puts one option's value into the options; false with the reason.
bool apply(Id id, const char* value, LaunchOptions& options, std::string& error) {
    LaunchOptions::Runner& runner = options.runner;
    long number = 0;
    switch (id) {
    case Id::Fullscreen:
        options.fullscreen = LaunchOptions::Fullscreen::Yes;
        return true;
    case Id::Windowed:
        options.fullscreen = LaunchOptions::Fullscreen::No;
        return true;
    case Id::FullscreenMode:
        if (!LaunchOptions::readFullscreenMode(value, options.fullscreenMode)) {
            error = "--fullscreen-mode takes desktop or 1024x768";
            return false;
        }
        return true;
    case Id::Level:
        // A level and a campaign exclude each other; the last one named is played.
        options.levelFile = CommandLine::playerPath(value);
        options.campaignFile.clear();
        return true;
    case Id::Campaign:
        options.campaignFile = CommandLine::playerPath(value);
        options.levelFile.clear();
        return true;
    case Id::CampaignLevel:
        if (!readWhole(value, 1, static_cast<long>(CampaignReader::kMaxLevels), number)) {
            error = "--campaign-level needs a level number from 1 to " +
                    std::to_string(CampaignReader::kMaxLevels);
            return false;
        }
        options.campaignLevel = static_cast<int>(number);
        return true;
    case Id::Progress:
        options.progressFile = CommandLine::playerPath(value);
        return true;
    case Id::ResetProgress:
        options.resetProgress = true;
        return true;
    case Id::Volume:
        if (!LaunchOptions::readVolume(value, options.volume)) {
            error = "--volume needs a whole number from 0 to 100";
            return false;
        }
        return true;
    case Id::Mute:
        options.mute = true;
        return true;
    case Id::Log:
        options.logFile = std::string(value) == "stderr" ? value : CommandLine::playerPath(value);
        return true;
    case Id::Settings:
        options.settingsFile = CommandLine::playerPath(value);
        return true;
    case Id::SaveSettings:
        options.saveSettings = true;
        return true;
    case Id::CheckLevel:
        options.checkLevelFile = CommandLine::playerPath(value);
        return true;
    case Id::Frames:
        if (!readWhole(value, 0, kMaxFrames, runner.frames)) {
            error = "--frames needs a whole number of frames from 0 to 1000000000";
            return false;
        }
        return true;
    case Id::Dt:
        if (!readPositiveSeconds(value, runner.frameSeconds)) {
            error = "--dt needs a positive number of seconds";
            return false;
        }
        return true;
    case Id::Seed:
        if (!readWhole(value, 0, 0xFFFFFFFFL, number)) {
            error = "--seed needs a whole number from 0 to 4294967295";
            return false;
        }
        runner.seeded = true;
        runner.seed = static_cast<unsigned long>(number);
        return true;
    case Id::Script:
        runner.scriptFile =
            std::string(value) == platform::kStandardInput ? value : CommandLine::playerPath(value);
        return true;
    case Id::Answer:
        if (std::string(value) != "yes" && std::string(value) != "no") {
            error = "--answer takes yes or no";
            return false;
        }
        runner.answerYes = std::string(value) == "yes";
        return true;
    case Id::Size:
        if (!readSize(value, runner.width, runner.height)) {
            error = "--size needs WIDTHxHEIGHT in pixels, each from 1 to 8192";
            return false;
        }
        return true;
    case Id::Screenshot:
        runner.screenshotFile = CommandLine::playerPath(value);
        return true;
    case Id::Report:
        runner.report = true;
        return true;
    case Id::PlainDrawing:
        if (!CommandLine::readShortcuts(value, options.plainDrawing)) {
            error = "--plain-drawing takes all, none or some of "
                    "dust,culling,text,cockpit,lists,wires,effects,overlay,aspect,radar";
            return false;
        }
        return true;
    case Id::AudioOut:
        options.audio = LaunchOptions::Audio::File;
        options.audioFile = CommandLine::playerPath(value);
        return true;
    case Id::Help:
    case Id::Version:
        return true;
    }
    return true;
}

// "-f, --fullscreen" or "    --level FILE", as the help lists it.
std::string synopsis(const CommandLine::Option& option) {
    std::string text = option.shortName != 0 ? std::string("-") + option.shortName + ", " : "    ";
    text += std::string("--") + option.name;
    if (option.valueName != nullptr) {
        text += std::string(" ") + option.valueName;
    }
    return text;
}

// Breaks the text into lines of at most width characters, each after indent blanks but the
// first.
std::string wrap(const std::string& text, std::size_t indent, std::size_t width) {
    std::string out;
    std::size_t column = indent;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string word = text.substr(start, end - start);
        if (column > indent && column + 1 + word.size() > width) {
            out += "\n" + std::string(indent, ' ');
            column = indent;
        } else if (column > indent) {
            out += ' ';
            ++column;
        }
        out += word;
        column += word.size();
        start = end + 1;
    }
    return out;
}

} // namespace

const std::vector<CommandLine::Option>& CommandLine::table() {
    static const std::vector<Option> options = [] {
        std::vector<Option> list;
        for (const Row& row : kRows) {
            list.push_back(row.option);
        }
        return list;
    }();
    return options;
}

LaunchOptions CommandLine::defaults(Program program) {
    LaunchOptions options;
    if (program == Program::Game) {
        options.audio = LaunchOptions::Audio::Device;
        options.levelFile.clear();
        options.campaignFile = kGameCampaign;
    } else {
        options.logFile = "stderr";
    }
    return options;
}

std::string CommandLine::playerPath(const std::string& name) {
    const char* start = std::getenv("OMBRELIX_START_DIR");
    if (name.empty() || name[0] == '/' || start == nullptr || *start == '\0') {
        return name;
    }
    return std::string(start) + "/" + name;
}

bool CommandLine::readShortcuts(const std::string& names, unsigned& shortcuts) {
    shortcuts = 0;
    std::size_t start = 0;
    while (start <= names.size()) {
        const std::size_t comma = std::min(names.find(',', start), names.size());
        const std::string name = names.substr(start, comma - start);
        bool known = name == "none" || name == "all";
        shortcuts |= name == "all" ? kShortcutsAll : 0u;
        for (const auto& entry : kShortcutNames) {
            if (name == entry.name) {
                shortcuts |= entry.bit;
                known = true;
            }
        }
        if (!known) {
            return false;
        }
        start = comma + 1;
    }
    return true;
}

CommandLine::Outcome CommandLine::parse(Program program, const std::vector<std::string>& arguments,
                                        LaunchOptions& options, std::string& error) {
    // getopt_long's own table, and its string of short options, from the rows this program
    // takes; ':' first makes a missing value its own answer.
    std::vector<option> longOptions;
    std::string shortOptions = ":";
    for (std::size_t i = 0; i < kRowCount; ++i) {
        const Option& row = kRows[i].option;
        if ((row.programs & programBit(program)) == 0) {
            continue;
        }
        const int code = row.shortName != 0 ? row.shortName : kLongCode + static_cast<int>(i);
        longOptions.push_back(
            {row.name, row.valueName != nullptr ? required_argument : no_argument, nullptr, code});
        if (row.shortName != 0) {
            shortOptions += row.shortName;
            shortOptions += row.valueName != nullptr ? ":" : "";
        }
    }
    longOptions.push_back({nullptr, 0, nullptr, 0});
    auto rowOf = [&](int code) -> int {
        for (std::size_t i = 0; i < kRowCount; ++i) {
            if (code == kLongCode + static_cast<int>(i) ||
                (code < kLongCode && code != 0 && kRows[i].option.shortName == code)) {
                return static_cast<int>(i);
            }
        }
        return -1;
    };

    std::vector<std::string> words(1, programName(program));
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const int argc = static_cast<int>(words.size());

    optind = 0; // a fresh scan, also for the second reading over the settings
    opterr = 0; // the messages are ours
    Outcome outcome = Outcome::Play;
    for (;;) {
        const int code =
            getopt_long(argc, argv.data(), shortOptions.c_str(), longOptions.data(), nullptr);
        if (code == -1) {
            break;
        }
        // The word getopt stopped at, without a value given after '='.
        std::string word = argv[optind - 1] != nullptr ? argv[optind - 1] : "";
        word = word.substr(0, word.find('='));
        if (code == ':' || code == '?') {
            const int row = rowOf(optopt);
            const std::string name =
                row < 0 ? (optopt != 0 ? std::string("-") + static_cast<char>(optopt) : word)
                : word.rfind("--", 0) == 0 ? std::string("--") + kRows[row].option.name
                                           : word;
            error = code == ':' ? "option '" + name + "' needs a value"
                    : row >= 0  ? "option '" + name + "' takes no value"
                                : "unknown option '" + name + "'";
            return Outcome::Error;
        }
        const int row = rowOf(code);
        if (kRows[row].id == Id::Help || kRows[row].id == Id::Version) {
            outcome = kRows[row].id == Id::Help ? Outcome::Help : Outcome::Version;
            return outcome;
        }
        if (!apply(kRows[row].id, optarg, options, error)) {
            return Outcome::Error;
        }
    }
    if (optind < argc) {
        error = std::string("unexpected argument '") + argv[optind] + "'";
        return Outcome::Error;
    }
    if (options.campaignLevel > 0 && options.campaignFile.empty()) {
        error = "--campaign-level needs a campaign to start in, not a --level";
        return Outcome::Error;
    }
    return outcome;
}

CommandLine::Outcome CommandLine::read(Program program, const std::vector<std::string>& arguments,
                                       LaunchOptions& options, std::string& error) {
    // Read once for help, errors and the settings file, then again over the settings.
    LaunchOptions scratch = defaults(program);
    const Outcome first = parse(program, arguments, scratch, error);
    if (first != Outcome::Play) {
        return first;
    }
    options = defaults(program);
    std::string settings = scratch.settingsFile;
    if (settings.empty() && program == Program::Game) {
        settings = Settings::defaultPath();
    }
    if (!settings.empty()) {
        std::vector<std::string> problems;
        Settings::load(settings, options, problems);
        for (const std::string& problem : problems) {
            platform::warn("%s", problem.c_str());
        }
    }
    parse(program, arguments, options, error);
    options.settingsFile = settings;
    if (program == Program::Game && options.progressFile.empty()) {
        options.progressFile = Progress::defaultPath();
    }

    if (program == Program::Game && options.logFile.empty()) {
        const char* fromEnvironment = std::getenv("OMBRELIX_LOG");
        if (fromEnvironment != nullptr && *fromEnvironment != '\0') {
            options.logFile = std::string(fromEnvironment) == "stderr"
                                  ? fromEnvironment
                                  : playerPath(fromEnvironment);
        }
    }
    return Outcome::Play;
}

std::string CommandLine::usage(Program program) {
    const std::string name = programName(program);
    std::string text = "usage: " + name;
    std::size_t column = text.size();
    const std::size_t indent = text.size() + 1;
    const std::size_t width = 100;
    for (const Row& row : kRows) {
        const Option& option = row.option;
        if ((option.programs & programBit(program)) == 0) {
            continue;
        }
        std::string item = "[";
        if (option.shortName != 0) {
            item += std::string("-") + option.shortName + "|";
        }
        item += std::string("--") + option.name;
        if (option.valueName != nullptr) {
            item += std::string(" ") + option.valueName;
        }
        item += "]";
        if (column + 1 + item.size() > width) {
            text += "\n" + std::string(indent - 1, ' ');
            column = indent - 1;
        }
        text += " " + item;
        column += 1 + item.size();
    }
    return text + "\n";
}

std::string CommandLine::help(Program program) {
    std::string text = usage(program) + "\n";
    text +=
        program == Program::Game
            ? "A small 3D space shooter: fly through asteroid fields and fight enemy fighters.\n"
            : "Plays exactly the game on an off-screen surface, steered by a script, for tests "
              "and timing.\n";
    text += "\n";
    const std::size_t column = 26;
    for (const Row& row : kRows) {
        const Option& option = row.option;
        if ((option.programs & programBit(program)) == 0) {
            continue;
        }
        std::string line = "  " + synopsis(option);
        line += line.size() + 2 <= column ? std::string(column - line.size(), ' ')
                                          : "\n" + std::string(column, ' ');
        text += line + wrap(option.help, column, 100) + "\n";
    }
    if (program == Program::Game) {
        text +=
            "\nKeys: S/F turn, E/D nose down/up, W/R roll, I/K faster/slower, U fire, P pause,\n"
            "F1 the keys card, Enter goes on once the level ends, Esc quits. A gamepad works "
            "too.\n";
    }
    return text;
}

std::string CommandLine::version() {
    return std::string("ombrelix ") + OMBRELIX_VERSION + "\n";
}
