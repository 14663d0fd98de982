// The headless runner: plays exactly the game on the off-screen backend, steered by a script,
// for a number of frames, optionally on a virtual clock, and reports frame times and the last
// picture.
#pragma once

#include "app/LaunchOptions.h"

#include <string>
#include <vector>

class HeadlessRunner {
public:
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

    // The least any frame costs on an off-screen surface of the size: clear, the cockpit texture
    // on one quad over the whole surface with the alpha test, finish and swap, in a context of its
    // own, timed from swap to swap like the game's frames. Median milliseconds (0 when impossible).
    static double measureFloorFrame(int frames, int width, int height);

    // Runs the game with the options and gives the process exit code.
    static int run(const LaunchOptions& options);
    // The runner's main: reads the command line, runs, and gives the exit code (2 for a bad
    // command line).
    static int main(int argc, char** argv);
};
