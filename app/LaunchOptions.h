// What the player chose when starting the game (command line, settings file): handed to the entry
// routine. The defaults play the game exactly as it always has been played.
#pragma once

#include "app/KeyBindings.h"

#include <string>

struct LaunchOptions {
    // The start question: asked, or answered in advance.
    enum class Fullscreen { Ask, Yes, No };
    Fullscreen fullscreen = Fullscreen::Ask;

    std::string levelFile = "data/levels/level.xml"; // relative to the run directory

    // Sound: where the mix goes. The desktop game plays on the sound device; the headless runner
    // is silent unless it renders the mix into a WAV file.
    enum class Audio { None, Device, File };
    Audio audio = Audio::None;
    std::string audioFile; // with Audio::File: the WAV file written at the end
    static constexpr int kMaxVolume = 100;
    int volume = kMaxVolume; // 0..kMaxVolume
    bool mute = false;

    // The debug channel: "" nowhere, "stderr", or a file name. Set up by the program's main.
    std::string logFile;
    // The player's keys (settings file).
    KeyBindings keys;
    // Drawing shortcuts switched off (kShortcut... bits): the plain drawing, for comparisons.
    unsigned plainDrawing = 0;

    // A whole number from 0 to kMaxVolume, as the command line and the settings file give it;
    // false (volume untouched) for anything else.
    static bool readVolume(const std::string& text, int& volume);
};
