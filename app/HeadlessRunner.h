// The headless runner: plays exactly the game on the off-screen backend, steered by a script,
// for a number of frames, optionally on a virtual clock, and reports frame times and the last
// picture.
#pragma once

#include "app/LaunchOptions.h"

#include <string>
#include <vector>

class HeadlessRunner {
public:
    // Median, mean and 95th percentile of a set of frame times (milliseconds).
    struct FrameStats {
        double median = 0.0;
        double mean = 0.0;
        double p95 = 0.0;
    };
    static FrameStats statistics(std::vector<double> milliseconds);

    // The least any frame costs on an off-screen surface of the size: clear, the cockpit
    // overlay over the whole surface and the swap, in a context of its own. Median milliseconds
    // over the frames (0 when impossible).
    static double measureFloorFrame(int frames, int width, int height);

    // Runs the game with the options and gives the process exit code.
    static int run(const LaunchOptions& options);
    // The runner's main: reads the command line, runs, and gives the exit code (2 for a bad
    // command line).
    static int main(int argc, char** argv);
};
