// What the player chose when starting the game or the runner (command line, settings file): the
// one record of a run's options, handed to the entry routine. The defaults play the game exactly
// as it always has been played.
#pragma once

#include "app/KeyBindings.h"

#include <string>

struct LaunchOptions {
    // The start question: asked, or answered in advance.
    enum class Fullscreen { Ask, Yes, No };
    Fullscreen fullscreen = Fullscreen::Ask;
    // What full screen is: the desktop as it is (no mode change, no refusal), or the game's own
    // 1024 x 768 mode, which a display may refuse.
    enum class FullscreenMode { Desktop, Mode1024x768 };
    FullscreenMode fullscreenMode = FullscreenMode::Desktop;

    // What is played: one level file, or (with no level file) a campaign of levels. Relative
    // names are relative to the run directory.
    std::string levelFile = "data/levels/level.xml";
    std::string campaignFile;
    int campaignLevel = 0; // start at this level of the campaign (from 1); 0: the first not done
    // Where the campaign's progress is kept ("" for this run only), and whether to start afresh.
    std::string progressFile;
    bool resetProgress = false;

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
    // The settings file read at start ("" none) and whether to write the options back into it.
    std::string settingsFile;
    bool saveSettings = false;
    // A level file to report on instead of playing ("" plays).
    std::string checkLevelFile;
    // The player's keys (settings file).
    KeyBindings keys;
    // Drawing shortcuts switched off (kShortcut... bits): the plain drawing, for comparisons.
    unsigned plainDrawing = 0;

    // The headless runner's own choices.
    struct Runner {
        long frames = 600;         // the quit message follows this many drawn frames
        double frameSeconds = 0.0; // virtual seconds per drawn frame; 0 = real time
        bool seeded = false;
        unsigned long seed = 0;     // replaces the current time as the random seed
        std::string scriptFile;     // window messages to play; "-" standard input
        std::string screenshotFile; // binary PPM of the last drawn frame
        bool report = false;        // frame-time lines on standard output
        bool answerYes = false;     // the answer to every yes/no box
        int width = 1024;           // of the off-screen surface, in pixels
        int height = 768;
    };
    Runner runner;

    // A whole number from 0 to kMaxVolume, as the command line and the settings file give it;
    // false (volume untouched) for anything else.
    static bool readVolume(const std::string& text, int& volume);
    // "desktop" or "1024x768", as the command line and the settings file give it.
    static bool readFullscreenMode(const std::string& text, FullscreenMode& mode);
    static const char* fullscreenModeName(FullscreenMode mode);
};
