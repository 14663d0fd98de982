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

// Heap allocations so far, when the program counts them (the runner does, unless sanitised):
// all of them, and those the game's own code asked for.
extern "C" unsigned long ombrelix_allocation_count() __attribute__((weak));
extern "C" unsigned long ombrelix_game_allocation_count() __attribute__((weak));

namespace {

const int kExitUsage = 2;
const int kFloorWarmUpFrames = 20;
const int kFloorFrames = 200;
const char* const kCockpitFile = "data/texture/cokpit.tga";

// Frames before this one are start-up, not steady play, for the allocation figures.
const long kSteadyFrom = 100;

unsigned long allocationsSoFar() {
    return ombrelix_allocation_count ? ombrelix_allocation_count() : 0;
}

unsigned long gameAllocationsSoFar() {
    return ombrelix_game_allocation_count ? ombrelix_game_allocation_count() : 0;
}

// The window that also notes, at every swap, what the frame cost besides time: the heap
// allocations since the last swap (the game's and the rest, when the runner counts them), the
// model draws and their triangles, and the world's list compiles and shots in steady play.
class CountingWindow : public platform::HeadlessWindow {
public:
    CountingWindow(platform::Clock& clock, const Options& options)
        : HeadlessWindow(clock, options) {
        // Counting a frame must not allocate, or the counter would count itself.
        const auto frames = static_cast<std::size_t>(std::clamp(options.frameLimit, 0L, 1L << 20));
        for (std::vector<double>* perFrame :
             {&allocations, &gameAllocations, &driverAllocations, &draws, &triangles, &updateMs,
              &collideMs, &drawMs, &instrumentsMs}) {
            perFrame->reserve(frames);
        }
    }
    void swapBuffers() override {
        HeadlessWindow::swapBuffers();
        const unsigned long all = allocationsSoFar();
        const unsigned long game = gameAllocationsSoFar();
        ElementContainer& world = *ElementContainer::getInstance();
        // A frame in which a kind's first element was made (its model or texture loaded) is
        // start-up for that kind, not steady play: its allocations are left out of the figures.
        std::size_t kindsMade = 0;
        for (unsigned long made : world.createdByKind) {
            kindsMade += made != 0 ? 1 : 0;
        }
        const bool loaded = world.modelCache.size() != lastModels || kindsMade != lastKinds;
        lastModels = world.modelCache.size();
        lastKinds = kindsMade;
        const bool steadyPlay = framesDrawn() > kSteadyFrom;
        modelLoads += steadyPlay && loaded ? 1 : 0;
        if (!steadyPlay || !loaded) {
            allocations.push_back(static_cast<double>(all - lastAll));
            gameAllocations.push_back(static_cast<double>(game - lastGame));
            driverAllocations.push_back(allocations.back() - gameAllocations.back());
        }
        lastAll = all;
        lastGame = game;
        draws.push_back(static_cast<double>(world.modelDraws - lastDraws));
        triangles.push_back(static_cast<double>(world.modelTriangles - lastTriangles));
        lastDraws = world.modelDraws;
        lastTriangles = world.modelTriangles;
        // A world made again (play again) starts its totals afresh.
        const ElementContainer::PhaseSeconds& now = world.phaseSeconds;
        auto since = [](double total, double last) {
            return (total >= last ? total - last : total) * 1000.0;
        };
        updateMs.push_back(since(now.update, lastPhases.update));
        collideMs.push_back(since(now.collide, lastPhases.collide));
        drawMs.push_back(since(now.draw, lastPhases.draw));
        instrumentsMs.push_back(since(now.instruments, lastPhases.instruments));
        lastPhases = now;
        mostLiveEffects = std::max(mostLiveEffects, world.mostLiveEffects());
        if (framesDrawn() == kSteadyFrom) {
            steadyCompiles = world.listCompiles;
            steadyShots = world.createdByKind[kKindLaserProjectile];
        }
        compiles = world.listCompiles - steadyCompiles;
        shots = world.createdByKind[kKindLaserProjectile] - steadyShots;
    }

    std::vector<double> allocations;
    std::vector<double> gameAllocations;
    std::vector<double> driverAllocations;
    std::vector<double> draws;
    std::vector<double> triangles;
    // Milliseconds of each pass of the frame (the world's own clock of its passes).
    std::vector<double> updateMs;
    std::vector<double> collideMs;
    std::vector<double> drawMs;
    std::vector<double> instrumentsMs;
    ElementContainer::PhaseSeconds lastPhases;
    unsigned long lastAll = 0;
    unsigned long lastGame = 0;
    std::size_t lastModels = 0;
    std::size_t lastKinds = 0; // kinds of which an element was ever made (its texture loaded)
    long modelLoads = 0;       // frames of steady play that made a kind's first element
    int mostLiveEffects = 0;   // smoke puffs and explosions alive at once, over every world made
    unsigned long lastDraws = 0;
    unsigned long lastTriangles = 0;
    unsigned long steadyCompiles = 0;
    unsigned long steadyShots = 0;
    unsigned long compiles = 0;
    unsigned long shots = 0;
};

// The figures of the steady frames: after the start-up ones, without the last (it ends with
// the shutdown).
HeadlessRunner::FrameStats steady(const std::vector<double>& perFrame) {
    const std::size_t from = static_cast<std::size_t>(kSteadyFrom);
    if (perFrame.size() <= from + 1) {
        return {};
    }
    return HeadlessRunner::statistics(std::vector<double>(
        perFrame.begin() + static_cast<std::ptrdiff_t>(from), perFrame.end() - 1));
}

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
    // Nearest rank: the smallest value with at least that share of the figures at or below it.
    auto percentile = [&](double share) {
        const auto rank = static_cast<std::size_t>(std::ceil(share * static_cast<double>(n)));
        return milliseconds[std::min(n, std::max<std::size_t>(rank, 1)) - 1];
    };
    stats.p95 = percentile(0.95);
    stats.p99 = percentile(0.99);
    stats.max = milliseconds.back();
    return stats;
}

double HeadlessRunner::measureFloorFrame(int frames, int width, int height) {
    platform::HeadlessContext surface;
    if (!surface.create(width, height)) {
        return 0.0;
    }
    const unsigned cockpit = ObjectTexture::LoadTexture(kCockpitFile, kFilterPoint);
    const auto right = static_cast<float>(width);
    const auto top = static_cast<float>(height);
    // The state the game's overlay draws with, set once: the loop holds nothing else.
    glViewport(0, 0, width, height);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, cockpit);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.1f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, width, 0.0, height, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, kOverlayPlaneZ);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);

    using WallClock = std::chrono::steady_clock;
    std::vector<double> times;
    WallClock::time_point last = WallClock::now();
    for (int i = 0; i < kFloorWarmUpFrames + frames; ++i) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glBegin(GL_QUADS);
        glTexCoord2f(0.0f, 0.0f);
        glVertex2f(0.0f, 0.0f);
        glTexCoord2f(1.0f, 0.0f);
        glVertex2f(right, 0.0f);
        glTexCoord2f(1.0f, 1.0f);
        glVertex2f(right, top);
        glTexCoord2f(0.0f, 1.0f);
        glVertex2f(0.0f, top);
        glEnd();
        glFinish();
        surface.swapBuffers();
        const WallClock::time_point now = WallClock::now();
        if (i >= kFloorWarmUpFrames) {
            times.push_back(std::chrono::duration<double, std::milli>(now - last).count());
        }
        last = now;
    }
    if (cockpit != 0) {
        glDeleteTextures(1, &cockpit);
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
        auto toFloor = [floorMs](double ms) { return floorMs > 0.0 ? ms / floorMs : 0.0; };
        std::printf("frames %ld median %.3f ms mean %.3f ms p95 %.3f ms p99 %.3f ms floor %.3f ms "
                    "ratio %.2f p95 ratio %.2f\n",
                    window.framesDrawn(), stats.median, stats.mean, stats.p95, stats.p99, floorMs,
                    toFloor(stats.median), toFloor(stats.p95));
        if (ombrelix_allocation_count == nullptr ||
            window.allocations.size() <= static_cast<std::size_t>(kSteadyFrom) + 1) {
            std::printf("allocations not counted\n");
        } else {
            const struct {
                const char* name;
                const std::vector<double>& perFrame;
            } shares[] = {{"all", window.allocations},
                          {"game", window.gameAllocations},
                          {"driver", window.driverAllocations}};
            std::printf("allocations per steady frame");
            for (const auto& share : shares) {
                const FrameStats counts = steady(share.perFrame);
                std::printf(" %s median %.0f p95 %.0f max %.0f", share.name, counts.median,
                            counts.p95, counts.max);
            }
            std::printf(" frames left out %ld\n", window.modelLoads);
        }
        const FrameStats draws = steady(window.draws);
        const FrameStats triangles = steady(window.triangles);
        std::printf("model draws per steady frame median %.0f max %.0f triangles median %.0f max "
                    "%.0f list compiles %lu shots %lu\n",
                    draws.median, draws.max, triangles.median, triangles.max, window.compiles,
                    window.shots);
        std::printf("passes per steady frame median update %.3f ms collisions %.3f ms world "
                    "drawing %.3f ms instruments %.3f ms\n",
                    steady(window.updateMs).median, steady(window.collideMs).median,
                    steady(window.drawMs).median, steady(window.instrumentsMs).median);
        std::printf("live effects at most %d (cap %d)\n", window.mostLiveEffects, kMaxLiveEffects);
        const char* threads = std::getenv("LP_NUM_THREADS");
        std::printf("LP_NUM_THREADS %s\n", threads != nullptr ? threads : "unset");
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
