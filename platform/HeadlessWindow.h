// The off-screen backend: the game draws into an EGL pbuffer (1024 x 768 unless told otherwise),
// its window messages come from a script, and every drawn frame can move a virtual clock by a
// fixed step. It backs the headless runner, the end-to-end tests and the benchmarks.
#pragma once

#include "platform/Clock.h"
#include "platform/Gamepads.h"
#include "platform/HeadlessContext.h"
#include "platform/Platform.h"
#include "platform/VirtualGamepad.h"
#include "platform/Window.h"
#include "platform/WindowScript.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

class HeadlessWindow : public Window {
public:
    static const int kSurfaceWidth = 1024; // pixels, unless the options say otherwise
    static const int kSurfaceHeight = 768;

    struct Options {
        int width = kSurfaceWidth; // of the surface, which the window always fills
        int height = kSurfaceHeight;
        std::vector<WindowScript::Event> script;
        long frameLimit = 600;      // the quit message follows this many drawn frames
        double frameSeconds = 0.0;  // > 0: each drawn frame moves the clock by this much
        bool answerYes = false;     // the answer to every yes/no box
        bool keepLastFrame = false; // read the picture back before the context goes
    };

    // Installs a message-box handler that logs each box and answers it from the options.
    HeadlessWindow(Clock& clock, Options options);
    ~HeadlessWindow() override;
    HeadlessWindow(const HeadlessWindow&) = delete;
    HeadlessWindow& operator=(const HeadlessWindow&) = delete;

    bool openDisplay() override { return true; }
    bool closeDisplay() override { return true; }
    bool changeDisplayMode(int width, int height, int bits) override;
    void restoreDisplayMode() override {}
    bool createWindow(const char* title, int width, int height, bool fullscreen) override;
    bool setFullscreen(bool on) override;
    void drawableSize(int& width, int& height) const override;
    bool destroyWindow() override;
    bool hasWindow() const override { return windowOpen; }
    bool createContext() override;
    bool makeCurrent() override;
    bool releaseCurrent() override;
    bool deleteContext() override;
    bool hasContext() const override { return surface.isValid(); }
    void show() override {}
    void showCursor(bool visible) override { cursorVisible = visible; }
    void swapBuffers() override;

    long framesDrawn() const { return frames; }
    bool isFullscreen() const { return fullscreenNow; }
    const std::string& title() const { return windowTitle; }
    bool isCursorVisible() const { return cursorVisible; }
    // Wall-clock milliseconds of each drawn frame, from the end of one swap to the end of the
    // next (the first from the pass that drew it).
    const std::vector<double>& frameMilliseconds() const { return frameTimes; }
    // The last drawn frame as RGB rows, top row first (kept when asked for in the options).
    const std::vector<std::uint8_t>& lastFrame() const { return lastFramePixels; }
    // False with the reason when no frame was kept or the file cannot be written.
    bool writeLastFramePpm(const std::string& fileName, std::string& why) const;
    // Pads SDL reports as connected (a script that plugs one in starts SDL's pad support).
    int gamepadsConnected() const override { return gamepads.connected(); }

protected:
    void pumpEvents() override;
    // Posts one event as the window message a script line gives.
    void post(const WindowScript::Event& event);

private:
    using WallClock = std::chrono::steady_clock;

    void keepPicture();

    Clock& clock;
    Options options;
    MessageBoxHandler previousHandler;
    HeadlessContext surface;
    std::size_t nextEvent = 0;
    long frames = 0;
    bool quitPosted = false;
    bool windowOpen = false;
    bool minimised = false;
    bool cursorVisible = true;
    bool fullscreenNow = false;
    int clientWidth = kSurfaceWidth;
    int clientHeight = kSurfaceHeight;
    std::string windowTitle;
    WallClock::time_point passStart;
    WallClock::time_point lastSwap;
    std::vector<double> frameTimes;
    std::vector<std::uint8_t> lastFramePixels;
    Gamepads gamepads;
    VirtualGamepad pad; // declared after gamepads: pulled out before SDL's pad support stops
};

} // namespace platform
