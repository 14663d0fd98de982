// The command lines of the game and of the headless runner, read from one table of options with
// the C library's getopt_long: "--name value" or "--name=value", a few short flags, "--" to end.
#pragma once

#include "app/LaunchOptions.h"

#include <string>
#include <vector>

class CommandLine {
public:
    enum class Program { Game, Runner };
    enum class Outcome { Play, Help, Version, Error };

    // Which programs take an option.
    static const unsigned kGame = 1u;
    static const unsigned kRunner = 2u;

    // One row of the table; the row's place in the table is its id.
    struct Option {
        const char* name;      // long name, without "--"
        char shortName;        // 0: none
        const char* valueName; // what the value is called in the help ("FILE"); nullptr: a flag
        const char* help;
        unsigned programs; // kGame, kRunner or both
    };
    static const std::vector<Option>& table();

    // The options a program starts from before its settings and command line.
    static LaunchOptions defaults(Program program);

    // Reads the arguments (without the program name) over the options: what is not named keeps
    // its value. Play, Help or Version; Error with one sentence in error.
    static Outcome parse(Program program, const std::vector<std::string>& arguments,
                         LaunchOptions& options, std::string& error);

    // The whole start: the program's defaults, the settings file the command line names (the
    // game also reads the usual one), then the command line over them, so it wins. Problems in
    // the settings are said on standard error and play goes on.
    static Outcome read(Program program, const std::vector<std::string>& arguments,
                        LaunchOptions& options, std::string& error);

    static std::string usage(Program program);
    static std::string help(Program program);
    static std::string version();

    // A file the player named: relative names are relative to the folder the game was started
    // in, which the installed launcher passes in OMBRELIX_START_DIR before it changes folder.
    static std::string playerPath(const std::string& name);

    // Drawing shortcuts by name ("dust,text", "all", "none"); false for an unknown name.
    static bool readShortcuts(const std::string& names, unsigned& shortcuts);
};
