// Both programs' command lines through the one parser: what each accepts and refuses, the log
// named in the environment, and the manual page listing exactly the options each program takes.
// (Help, version, exit codes and the launcher's start folder are the end-to-end stories'.)
#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace apptest {
namespace {

using Program = CommandLine::Program;
using Outcome = CommandLine::Outcome;

// What a run would do differently from the program's defaults, as words a reader can check.
std::string changes(Program program, const LaunchOptions& o) {
    const LaunchOptions d = CommandLine::defaults(program);
    const LaunchOptions::Runner& r = o.runner;
    std::ostringstream s;
    const auto say = [&s](bool changed, const auto&... words) {
        if (changed) {
            ((s << words), ...) << ' ';
        }
    };
    const char* answers[] = {"ask", "yes", "no"};
    say(o.fullscreen != d.fullscreen, "fullscreen=", answers[static_cast<int>(o.fullscreen)]);
    say(o.levelFile != d.levelFile, "level=", o.levelFile);
    say(o.campaignFile != d.campaignFile, "campaign=", o.campaignFile);
    say(o.campaignLevel != d.campaignLevel, "campaign-level=", o.campaignLevel);
    say(o.progressFile != d.progressFile, "progress=", o.progressFile);
    say(o.resetProgress, "reset-progress");
    say(o.volume != d.volume, "volume=", o.volume);
    say(o.mute, "mute");
    say(o.logFile != d.logFile, "log=", o.logFile);
    say(o.settingsFile != d.settingsFile, "settings=", o.settingsFile);
    say(o.saveSettings, "save-settings");
    say(o.audio == LaunchOptions::Audio::File, "audio-out=", o.audioFile);
    say(o.plainDrawing != 0, "plain=", o.plainDrawing);
    say(r.frames != d.runner.frames, "frames=", r.frames);
    say(r.frameSeconds != d.runner.frameSeconds, "dt=", r.frameSeconds);
    say(r.width != d.runner.width || r.height != d.runner.height, "size=", r.width, 'x', r.height);
    say(r.seeded, "seed=", r.seed);
    say(!r.scriptFile.empty(), "script=", r.scriptFile);
    say(!r.screenshotFile.empty(), "screenshot=", r.screenshotFile);
    say(r.report, "report");
    say(r.answerYes, "answer=yes");
    std::string text = s.str();
    return text.empty() ? text : text.substr(0, text.size() - 1);
}

const Program kGame = Program::Game;
const Program kRunner = Program::Runner;

TEST(CommandLine, EachProgramTakesItsOptionsInEitherSpellingAndRefusesTheRest) {
    setenv("OMBRELIX_START_DIR", "/home/player", 1);
    const char* kLevelNumber = "error: --campaign-level needs a level number from 1 to 100";
    const char* kNoCampaign = "error: --campaign-level needs a campaign to start in, not a --level";
    const char* kVolume = "error: --volume needs a whole number from 0 to 100";
    const char* kFrames = "error: --frames needs a whole number of frames from 0 to 1000000000";
    const char* kDt = "error: --dt needs a positive number of seconds";
    const char* kSize = "error: --size needs WIDTHxHEIGHT in pixels, each from 1 to 8192";
    const struct {
        Program program;
        std::vector<std::string> arguments;
        const char* said; // the changes, or "error: ..." with the sentence
    } cases[] = {
        {kGame, {}, ""},
        {kRunner, {}, ""},
        {kGame, {"-f"}, "fullscreen=yes"},
        {kRunner, {"--fullscreen"}, "fullscreen=yes"},
        {kGame, {"--windowed", "--"}, "fullscreen=no"},
        {kRunner, {"-w"}, "fullscreen=no"},
        {kGame, {"--fullscreen", "yes"}, "error: unexpected argument 'yes'"},
        {kGame, {"--level", "my.xml"}, "level=/home/player/my.xml campaign="},
        {kRunner, {"--level=/tmp/my.xml"}, "level=/tmp/my.xml"},
        {kRunner,
         {"--campaign", "c.xml", "--campaign-level=100", "--progress", "p.ini"},
         "level= campaign=/home/player/c.xml campaign-level=100 progress=/home/player/p.ini"},
        {kGame, {"--campaign-level", "1", "--reset-progress"}, "campaign-level=1 reset-progress"},
        {kRunner,
         {"--campaign", "c.xml", "--level", "l.xml"},
         "level=/home/player/l.xml"}, // the last one named is played
        {kGame, {"--campaign-level", "0"}, kLevelNumber},
        {kRunner, {"--campaign", "c.xml", "--campaign-level", "101"}, kLevelNumber},
        {kRunner, {"--campaign-level", "2"}, kNoCampaign},
        {kGame, {"--level", "l.xml", "--campaign-level", "2"}, kNoCampaign},
        {kGame, {"--level"}, "error: option '--level' needs a value"},
        {kGame, {"--volume", "0"}, "volume=0"},
        {kRunner, {"--volume=100", "--mute"}, "mute"},
        {kGame, {"--volume", "101"}, kVolume},
        {kRunner, {"--volume", "-1"}, kVolume},
        {kGame, {"--mute=yes"}, "error: option '--mute' takes no value"},
        {kGame, {"--log", "stderr"}, "log=stderr"},
        {kRunner, {"--log=game.log"}, "log=/home/player/game.log"},
        {kGame,
         {"--settings", "s.ini", "--save-settings"},
         "settings=/home/player/s.ini save-settings"},
        {kRunner, {"--settings=/etc/s.ini"}, "settings=/etc/s.ini"},
        {kRunner, {"--save-settings"}, "error: unknown option '--save-settings'"},
        {kRunner,
         {"--frames", "0", "--dt=0.05", "--seed", "4294967295"},
         "frames=0 dt=0.05 seed=4294967295"},
        {kRunner, {"--frames", "1000000000"}, "frames=1000000000"},
        {kRunner, {"--frames", "1000000001"}, kFrames},
        {kRunner, {"--frames", "-1"}, kFrames},
        {kRunner,
         {"--seed", "4294967296"},
         "error: --seed needs a whole number from 0 to 4294967295"},
        {kRunner, {"--dt", "0"}, kDt},
        {kRunner, {"--dt", "nan"}, kDt},
        {kRunner, {"--size", "8192x1"}, "size=8192x1"},
        {kRunner, {"--size=8193x768"}, kSize},
        {kRunner, {"--size", "1024x0"}, kSize},
        {kRunner,
         {"--script", "-", "--screenshot", "a.ppm", "--report", "--answer=yes"},
         "script=- screenshot=/home/player/a.ppm report answer=yes"},
        {kRunner, {"--script", "s.txt"}, "script=/home/player/s.txt"},
        {kRunner, {"--answer", "maybe"}, "error: --answer takes yes or no"},
        {kRunner,
         {"--audio-out", "/tmp/m.wav", "--plain-drawing", "dust,text"},
         "audio-out=/tmp/m.wav plain=5"},
        {kRunner, {"--plain-drawing", "all"}, "plain=1023"},
        {kRunner,
         {"--plain-drawing", "dust,wobble"},
         "error: --plain-drawing takes all, none or some of "
         "dust,culling,text,cockpit,lists,wires,effects,overlay,aspect,radar"},
        {kGame, {"--frames", "3"}, "error: unknown option '--frames'"},
        {kGame, {"--wobble=3"}, "error: unknown option '--wobble'"},
        {kRunner, {"-x"}, "error: unknown option '-x'"},
        {kGame, {"level.xml"}, "error: unexpected argument 'level.xml'"},
        {kGame, {"--", "-f"}, "error: unexpected argument '-f'"},
    };
    for (const auto& c : cases) {
        LaunchOptions options = CommandLine::defaults(c.program);
        std::string error;
        const Outcome outcome = CommandLine::parse(c.program, c.arguments, options, error);
        const std::string said = outcome == Outcome::Error  ? "error: " + error
                                 : outcome == Outcome::Play ? changes(c.program, options)
                                                            : "(help or version)";
        std::string line;
        for (const std::string& word : c.arguments) {
            line += word + " ";
        }
        EXPECT_EQ(said, c.said) << (c.program == kGame ? "ombrelix " : "ombrelix-headless ")
                                << line;
    }
    unsetenv("OMBRELIX_START_DIR");

    // Help and version end the reading wherever they stand, also after a value error.
    for (const auto& [words, outcome] :
         {std::pair{std::vector<std::string>{"-h"}, Outcome::Help},
          std::pair{std::vector<std::string>{"--volume", "5", "--version"}, Outcome::Version}}) {
        for (Program program : {kGame, kRunner}) {
            LaunchOptions options;
            std::string error;
            EXPECT_EQ(CommandLine::parse(program, words, options, error), outcome) << words[0];
        }
    }
}

TEST(CommandLine, TheGameLogsWhereTheEnvironmentSaysUnlessTheCommandLineSaysOtherwise) {
    setenv("OMBRELIX_START_DIR", "/home/player", 1);
    const struct {
        Program program;
        const char* environment;
        std::vector<std::string> arguments;
        const char* log;
    } cases[] = {
        {kGame, "stderr", {}, "stderr"},
        {kGame, "game.log", {}, "/home/player/game.log"},
        {kGame, "/tmp/game.log", {}, "/tmp/game.log"},
        {kGame, "game.log", {"--log", "stderr"}, "stderr"},
        {kGame, "", {}, ""},
        {kRunner, "game.log", {}, "stderr"}, // the runner's own default
    };
    for (const auto& c : cases) {
        setenv("OMBRELIX_LOG", c.environment, 1);
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"--settings", "/nonexistent/settings.ini"});
        LaunchOptions options;
        std::string error;
        ASSERT_EQ(CommandLine::read(c.program, arguments, options, error), Outcome::Play) << error;
        EXPECT_EQ(options.logFile, c.log) << "OMBRELIX_LOG=" << c.environment;
    }
    unsetenv("OMBRELIX_LOG");
    unsetenv("OMBRELIX_START_DIR");
}

TEST(CommandLine, TheHelpGivesEachOptionItsWordsInOneColumnWithinAHundredCharacters) {
    const std::string column(26, ' '); // where every option's words start
    for (Program program : {kGame, kRunner}) {
        std::istringstream text(CommandLine::help(program));
        std::size_t options = 0;
        for (std::string line; std::getline(text, line);) {
            EXPECT_LE(line.size(), 100u) << line;
            const bool option = line.rfind("  -", 0) == 0 || line.rfind("      --", 0) == 0;
            // An option too long for its column has its words on the next line.
            const bool words =
                option ? line.find("  ", 6) != std::string::npos : line.rfind(column, 0) == 0;
            if (words) {
                EXPECT_TRUE(line[column.size() - 1] == ' ' && line[column.size()] != ' ') << line;
            }
            options += option ? 1 : 0;
        }
        std::size_t listed = 0;
        for (const CommandLine::Option& o : CommandLine::table()) {
            listed += (o.programs & (program == kGame ? CommandLine::kGame : CommandLine::kRunner))
                          ? 1
                          : 0;
        }
        EXPECT_EQ(options, listed);
    }
}

// The option names a section of the manual page lists in its ".TP" entries.
std::set<std::string> manualOptions(const std::string& page, const std::string& section) {
    const std::size_t start = page.find(".SH " + section + "\n");
    const std::size_t end = page.find("\n.SH ", start + 1);
    const std::string text = page.substr(start, end - start);
    std::set<std::string> names;
    const std::regex entry("\\.TP\\n\\.B[IR]? ([^\\n]*)");
    const std::regex longName("\\\\-\\\\-([a-z\\\\-]+)");
    for (std::sregex_iterator it(text.begin(), text.end(), entry), last; it != last; ++it) {
        const std::string words = (*it)[1];
        for (std::sregex_iterator n(words.begin(), words.end(), longName); n != last; ++n) {
            std::string name = (*n)[1];
            name = std::regex_replace(name, std::regex("\\\\-"), "-");
            names.insert(name);
        }
    }
    return names;
}

TEST(CommandLine, TheManualListsExactlyTheOptionsOfEachProgram) {
    std::ifstream file(std::string(OMBRELIX_SOURCE_DIR) + "/dist/ombrelix.6.in");
    ASSERT_TRUE(file) << "the manual page is missing";
    std::stringstream text;
    text << file.rdbuf();
    const std::string page = text.str();

    std::set<std::string> game;
    std::set<std::string> runnerOnly;
    for (const CommandLine::Option& option : CommandLine::table()) {
        if ((option.programs & CommandLine::kGame) != 0) {
            game.insert(option.name);
        } else {
            runnerOnly.insert(option.name);
        }
    }
    EXPECT_EQ(manualOptions(page, "OPTIONS"), game);
    EXPECT_EQ(manualOptions(page, "OPTIONS OF OMBRELIX-HEADLESS"), runnerOnly);
}

} // namespace
} // namespace apptest
