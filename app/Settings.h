// The player's settings file: a small INI file in the XDG config folder with the start answer,
// the volume and the key bindings. Read at start, written only when the player asks.
#pragma once

#include "app/LaunchOptions.h"

#include <string>
#include <vector>

class Settings {
public:
    // $XDG_CONFIG_HOME/ombrelix/settings.ini, or ~/.config/ombrelix/settings.ini.
    static std::string defaultPath();

    // Sets what the file names in the options. A missing file changes nothing; every line that
    // cannot be used is left out and named once in problems ("FILE:LINE: what").
    static void load(const std::string& path, LaunchOptions& options,
                     std::vector<std::string>& problems);
    // The same for a file's text already in memory; the problems call it by name.
    static void read(const std::string& text, const std::string& name, LaunchOptions& options,
                     std::vector<std::string>& problems);
    // Writes the options' start answer, volume and keyboard keys, making the folder if needed.
    // False with the reason on failure.
    static bool save(const std::string& path, const LaunchOptions& options, std::string& error);
    // What save writes.
    static std::string text(const LaunchOptions& options);
};
