// Command line, run, screenshot and report of the headless runner.
#include "app/HeadlessRunner.h"

#include "app/AppState.h"
#include "app/Campaign.h"
#include "app/CommandLine.h"
#include "app/DrawFrame.h"
#include "app/Game.h"
#include "app/Settings.h"
#include "assets/ObjectTexture.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/HeadlessContext.h"
#include "platform/HeadlessWindow.h"
#include "platform/WindowScript.h"
#include "world/ElementContainer.h"

#include <GL/gl.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Heap allocations so far, when the program counts them (the runner does, unless sanitised).
extern "C" unsigned long ombrelix_allocation_count() __attribute__((weak));

namespace {

const int kExitUsage = 2;
const int kFloorWarmUpFrames = 20;
const int kFloorFrames = 200;
const char* const kCockpitFile = "data/texture/cokpit.tga";

// Frames before this one are start-up, not steady play, for the allocation figures.
const long kSteadyFrom = 100;

// The window that also notes, at every swap, the heap allocations since the last one (when the
// runner counts them) and the world's list compiles and shots.
class CountingWindow : public platform::HeadlessWindow {
public:
    using HeadlessWindow::HeadlessWindow;
    void swapBuffers() override {
        HeadlessWindow::swapBuffers();
        const unsigned long now = ombrelix_allocation_count ? ombrelix_allocation_count() : 0;
        allocations.push_back(static_cast<double>(now - lastCount));
        lastCount = now;
        if (framesDrawn() == kSteadyFrom) {
            steadyCompiles = world().listCompiles;
            steadyShots = world().createdByKind[kKindLaserProjectile];
        }
        compiles = world().listCompiles - steadyCompiles;
        shots = world().createdByKind[kKindLaserProjectile] - steadyShots;
    }
    static ElementContainer& world() { return *ElementContainer::getInstance(); }

    std::vector<double> allocations;
    unsigned long lastCount = 0;
    unsigned long steadyCompiles = 0;
    unsigned long steadyShots = 0;
    unsigned long compiles = 0;
    unsigned long shots = 0;
};

} // namespace

HeadlessRunner::FrameStats HeadlessRunner::statistics(std::vector<double> milliseconds) {
    FrameStats stats;
    if (milliseconds.empty()) {
        return stats;
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    const std::size_t n = milliseconds.size();
    stats.median =
        n % 2 == 1 ? milliseconds[n / 2] : (milliseconds[n / 2 - 1] + milliseconds[n / 2]) / 2.0;
    double sum = 0.0;
    for (double value : milliseconds) {
        sum += value;
    }
    stats.mean = sum / static_cast<double>(n);
    // Nearest rank: the smallest value with at least 95 percent of the frames at or below it.
    const std::size_t rank = static_cast<std::size_t>(std::ceil(0.95 * static_cast<double>(n)));
    stats.p95 = milliseconds[std::min(n, std::max<std::size_t>(rank, 1)) - 1];
    return stats;
}

double HeadlessRunner::measureFloorFrame(int frames, int width, int height) {
    platform::HeadlessContext surface;
    if (!surface.create(width, height)) {
        return 0.0;
    }
    AppState app;
    app.screenWidth = width;
    app.screenHeight = height;
    app.cockpitTexture = ObjectTexture::LoadTexture(kCockpitFile, kFilterPoint);
    glViewport(0, 0, app.screenWidth, app.screenHeight);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.1f);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, kOverlayPlaneZ);

    using WallClock = std::chrono::steady_clock;
    std::vector<double> times;
    WallClock::time_point last = WallClock::now();
    for (int i = 0; i < kFloorWarmUpFrames + frames; ++i) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        DrawCockpitOverlay(app, OverlayBox{0.0f, static_cast<float>(app.screenWidth)});
        glMatrixMode(GL_MODELVIEW);
        glFinish();
        surface.swapBuffers();
        const WallClock::time_point now = WallClock::now();
        if (i >= kFloorWarmUpFrames) {
            times.push_back(std::chrono::duration<double, std::milli>(now - last).count());
        }
        last = now;
    }
    if (app.cockpitTexture != 0) {
        glDeleteTextures(1, &app.cockpitTexture);
    }
    surface.destroy();
    return statistics(times).median;
}

int HeadlessRunner::run(const LaunchOptions& options) {
    const LaunchOptions::Runner& runner = options.runner;
    platform::HeadlessWindow::Options windowOptions;
    if (!runner.scriptFile.empty()) {
        platform::WindowScript script;
        if (!script.load(runner.scriptFile)) {
            platform::warn("%s", script.error().c_str());
            return kExitUsage;
        }
        if (!script.fitsSurface(runner.width, runner.height)) {
            platform::warn("%s: %s", runner.scriptFile.c_str(), script.error().c_str());
            return kExitUsage;
        }
        windowOptions.script = script.events();
    }
    windowOptions.width = runner.width;
    windowOptions.height = runner.height;
    std::unique_ptr<Campaign> campaign;
    if (!OpenPlay(options, campaign)) {
        return kExitFileFailure;
    }
    windowOptions.frameLimit = runner.frames;
    windowOptions.frameSeconds = runner.frameSeconds;
    windowOptions.answerYes = runner.answerYes;
    windowOptions.keepLastFrame = !runner.screenshotFile.empty();

    // Measured before the game, in a context of its own, so the game's run stays untouched.
    const double floorMs =
        runner.report ? measureFloorFrame(kFloorFrames, runner.width, runner.height) : 0.0;

    platform::Clock clock =
        runner.frameSeconds > 0.0 ? platform::Clock::makeVirtual() : platform::Clock();
    if (runner.seeded) {
        platform::fixCurrentTime(static_cast<std::time_t>(runner.seed));
    }
    platform::setDebugLog(options.logFile);
    CountingWindow window(clock, windowOptions);
    int exitCode = WinMain(window, clock, options, std::move(campaign));

    std::string why;
    if (!runner.screenshotFile.empty() && !window.writeLastFramePpm(runner.screenshotFile, why)) {
        platform::warn("no picture written to %s: %s", runner.screenshotFile.c_str(), why.c_str());
        exitCode = exitCode == kExitNormal ? kExitFileFailure : exitCode;
    }
    if (runner.report) {
        const FrameStats stats = statistics(window.frameMilliseconds());
        std::printf("frames %ld median %.3f ms mean %.3f ms p95 %.3f ms floor %.3f ms ratio %.2f\n",
                    window.framesDrawn(), stats.median, stats.mean, stats.p95, floorMs,
                    floorMs > 0.0 ? stats.median / floorMs : 0.0);
        // Steady play: after the start-up frames; the last frame ends with the shutdown.
        const std::size_t from = static_cast<std::size_t>(kSteadyFrom);
        const std::vector<double>& counts = window.allocations;
        if (ombrelix_allocation_count == nullptr || counts.size() <= from + 1) {
            std::printf("allocations not counted\n");
        } else {
            const FrameStats allocations =
                statistics(std::vector<double>(counts.begin() + from, counts.end() - 1));
            std::printf("allocations per steady frame median %.0f p95 %.0f list compiles %lu "
                        "shots %lu\n",
                        allocations.median, allocations.p95, window.compiles, window.shots);
        }
        // A closed pipe (the report read by head) is a failed write like any other.
        if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
            platform::warn("cannot write the report: %s", std::strerror(errno));
            exitCode = exitCode == kExitNormal ? kExitFileFailure : exitCode;
        }
    }
    return exitCode;
}

int HeadlessRunner::main(int argc, char** argv) {
    // Output that nobody reads any more fails its writes instead of ending the process.
    std::signal(SIGPIPE, SIG_IGN);
    LaunchOptions options;
    std::string error;
    switch (CommandLine::read(CommandLine::Program::Runner,
                              std::vector<std::string>(argv + 1, argv + argc), options, error)) {
    case CommandLine::Outcome::Error:
        std::fprintf(stderr, "ombrelix-headless: %s\n%s", error.c_str(),
                     CommandLine::usage(CommandLine::Program::Runner).c_str());
        return kExitUsage;
    case CommandLine::Outcome::Help:
        std::fputs(CommandLine::help(CommandLine::Program::Runner).c_str(), stdout);
        return kExitNormal;
    case CommandLine::Outcome::Version:
        std::fputs(CommandLine::version().c_str(), stdout);
        return kExitNormal;
    case CommandLine::Outcome::Play:
        break;
    }
    return run(options);
}
