// The desktop game's command line, GNU style: long options with "--name value" or
// "--name=value", a few short ones, "--" to end them.
#pragma once

#include "app/LaunchOptions.h"

#include <string>
#include <vector>

class CommandLine {
public:
    enum class Outcome { Play, Help, Version, Error };
    struct Result {
        Outcome outcome = Outcome::Play;
        std::string error;        // with Outcome::Error
        std::string settingsFile; // --settings; "" means the usual place
        bool saveSettings = false;
    };

    // Reads the arguments (without the program name) into the options; what is not named keeps
    // its value, so settings read before are overridden only where the player says so.
    static Result parse(const std::vector<std::string>& arguments, LaunchOptions& options);

    static std::string usage();
    static std::string help();
    static std::string version();

    // A file the player named: relative names are relative to the folder the game was started
    // in, which the installed launcher passes in OMBRELIX_START_DIR before it changes folder.
    static std::string playerPath(const std::string& name);
};
