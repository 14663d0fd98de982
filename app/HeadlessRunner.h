// The headless runner: plays exactly the game on the off-screen backend, steered by a script,
// for a number of frames, optionally on a virtual clock, and reports frame times and the last
// picture.
#pragma once

#include <string>
#include <vector>

class HeadlessRunner {
public:
    struct Options {
        long frames = 600;         // the quit message follows this many drawn frames
        double frameSeconds = 0.0; // --dt: virtual seconds per drawn frame; 0 = real time
        bool seeded = false;
        unsigned long seed = 0; // replaces the current time as the random seed
        std::string scriptFile;
        bool fullscreen = false;    // the answer to the start question
        std::string screenshotFile; // binary PPM of the last drawn frame
        bool report = false;        // frame-time line on standard output
        std::string audioOutFile;   // --audio-out: the mix as a WAV file; none opens no device
        int volume = -1;            // --volume 0..100; -1 = the settings' volume
        bool mute = false;          // --mute: starts muted (key M unmutes)
        std::string levelFile;      // "" = the game's own level
        std::string logFile;        // the debug channel; "" = standard error
        std::string settingsFile;   // read like the desktop game's settings; "" = none
        unsigned plainDrawing = 0;  // --plain-drawing: the drawing shortcuts switched off
    };

    // Reads the command line (without the program name); false with a message on failure.
    static bool parseArguments(const std::vector<std::string>& arguments, Options& options,
                               std::string& error);
    static const char* usage();

    // Median, mean, 95th and 99th percentile (nearest rank) and maximum of a set of figures,
    // frame times in milliseconds or counts per frame.
    struct FrameStats {
        double median = 0.0;
        double mean = 0.0;
        double p95 = 0.0;
        double p99 = 0.0;
        double max = 0.0;
    };
    static FrameStats statistics(std::vector<double> milliseconds);

    // The least any frame costs on the off-screen surface: clear, the cockpit texture on one
    // full-window quad with the alpha test, finish and swap, in a context of its own, timed
    // from swap to swap like the game's frames. Median milliseconds (0 when impossible).
    static double measureFloorFrame(int frames);

    // Drawing shortcuts by name ("dust,text", "all", "none"); false for an unknown name.
    static bool parseShortcuts(const std::string& names, unsigned& shortcuts);

    // Runs the game with the options and gives the process exit code.
    static int run(const Options& options);
    // The runner's main: parses, runs, and gives the exit code (2 for a bad command line).
    static int main(int argc, char** argv);
};
