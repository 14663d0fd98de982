// The off-screen window: script events become window messages before the frame they name,
// swaps count frames and move the virtual clock, and the last picture can be kept as a PPM.
#include "platform/HeadlessWindow.h"

#include "platform/Files.h"

#include <GL/gl.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

namespace platform {
namespace {

const int kSurfaceBits = 32;
const unsigned kMinimisedFlag = 1u << 16;
const LParam kKeyDownBits = 1;                         // repeat count 1
const LParam kKeyUpBits = 1 | (1L << 30) | (1L << 31); // was down, going up
const long kMaxTimedFrames = 1L << 20; // frames whose times are kept without reallocating

} // namespace

HeadlessWindow::HeadlessWindow(Clock& clock, Options options)
    : clock(clock), options(std::move(options)) {
    const bool answerYes = this->options.answerYes;
    previousHandler = setMessageBoxHandler([answerYes](const MessageBoxRequest& request) {
        debugMessageBox(request);
        if (request.buttons == Buttons::YesNo) {
            return answerYes ? Answer::Yes : Answer::No;
        }
        return Answer::Ok;
    });
    // Room for every frame's time at once, so timing a frame allocates nothing.
    frameTimes.reserve(
        static_cast<std::size_t>(std::clamp(this->options.frameLimit, 0L, kMaxTimedFrames)));
    passStart = WallClock::now();
    lastSwap = passStart;
    for (const WindowScript::Event& event : this->options.script) {
        if (event.action == WindowScript::Action::PadAttach && !gamepads.started()) {
            gamepads.start();
        }
    }
}

HeadlessWindow::~HeadlessWindow() {
    surface.destroy();
    setMessageBoxHandler(std::move(previousHandler));
}

bool HeadlessWindow::changeDisplayMode(int width, int height, int bits) {
    // The surface has one size; that is the only "mode" this display offers.
    if (width != options.width || height != options.height || bits > kSurfaceBits) {
        setError("the off-screen surface is " + std::to_string(options.width) + "x" +
                 std::to_string(options.height) + "x32 only");
        return false;
    }
    return true;
}

bool HeadlessWindow::createWindow(const char* title, int, int, bool fullscreen) {
    // The window fills its surface, as a desktop would give it the whole screen.
    windowTitle = title != nullptr ? title : "";
    clientWidth = options.width;
    clientHeight = options.height;
    fullscreenNow = fullscreen;
    windowOpen = true;
    return true;
}

bool HeadlessWindow::setFullscreen(bool on) {
    fullscreenNow = on;
    postMessage(
        WM_SIZE, SIZE_RESTORED,
        makeLParam(static_cast<unsigned>(clientWidth), static_cast<unsigned>(clientHeight)));
    return true;
}

void HeadlessWindow::drawableSize(int& width, int& height) const {
    width = clientWidth;
    height = clientHeight;
}

bool HeadlessWindow::destroyWindow() {
    const bool wasOpen = windowOpen;
    windowOpen = false;
    return wasOpen;
}

bool HeadlessWindow::createContext() {
    if (!surface.create(options.width, options.height)) {
        setError(surface.error());
        return false;
    }
    return true;
}

bool HeadlessWindow::makeCurrent() {
    if (!surface.makeCurrent()) {
        setError("cannot make the off-screen context current");
        return false;
    }
    return true;
}

bool HeadlessWindow::releaseCurrent() {
    // The picture is still there until the context goes: the last chance to read it back.
    keepPicture();
    return surface.isValid();
}

bool HeadlessWindow::deleteContext() {
    if (!surface.isValid()) {
        return false;
    }
    keepPicture();
    surface.destroy();
    return true;
}

void HeadlessWindow::swapBuffers() {
    if (surface.isValid()) {
        // A pbuffer swap does not wait for the picture; a real one does, and frame times
        // should mean the same on both.
        glFinish();
        surface.swapBuffers();
    }
    const WallClock::time_point now = WallClock::now();
    const WallClock::time_point start = frames == 0 ? passStart : lastSwap;
    frameTimes.push_back(std::chrono::duration<double, std::milli>(now - start).count());
    lastSwap = now;
    ++frames;
    clock.advance(options.frameSeconds);
}

void HeadlessWindow::pumpEvents() {
    if (quitPosted) {
        return;
    }
    if (frames >= options.frameLimit) {
        postQuitMessage(0);
        quitPosted = true;
        return;
    }
    const std::vector<WindowScript::Event>& script = options.script;
    bool posted = false;
    while (nextEvent < script.size() && script[nextEvent].frame <= frames) {
        post(script[nextEvent++]);
        posted = true;
    }
    // The pad's moves reach the game through SDL, as a real pad's would.
    posted = gamepads.pump(*this) || posted;
    if (!posted && minimised) {
        // Nothing is drawn while minimised, so the frame count stands still: the script's next
        // line comes at once, and with none left the session ends.
        if (nextEvent < script.size()) {
            const long frame = script[nextEvent].frame;
            while (nextEvent < script.size() && script[nextEvent].frame == frame) {
                post(script[nextEvent++]);
            }
        } else {
            postQuitMessage(0);
            quitPosted = true;
        }
        return;
    }
    if (!posted) {
        passStart = WallClock::now();
    }
}

void HeadlessWindow::post(const WindowScript::Event& event) {
    using Action = WindowScript::Action;
    switch (event.action) {
    case Action::KeyDown:
        postMessage(WM_KEYDOWN, event.key, kKeyDownBits);
        break;
    case Action::KeyUp:
        postMessage(WM_KEYUP, event.key, kKeyUpBits);
        break;
    case Action::Close:
        postMessage(WM_CLOSE);
        break;
    case Action::Minimise:
        minimised = true;
        postMessage(WM_ACTIVATE, WA_INACTIVE | kMinimisedFlag);
        postMessage(WM_SIZE, SIZE_MINIMIZED, makeLParam(0, 0));
        break;
    case Action::Restore:
        minimised = false;
        postMessage(
            WM_SIZE, SIZE_RESTORED,
            makeLParam(static_cast<unsigned>(clientWidth), static_cast<unsigned>(clientHeight)));
        postMessage(WM_ACTIVATE, WA_ACTIVE);
        break;
    case Action::Size:
        clientWidth = event.width;
        clientHeight = event.height;
        postMessage(
            WM_SIZE, SIZE_RESTORED,
            makeLParam(static_cast<unsigned>(event.width), static_cast<unsigned>(event.height)));
        break;
    case Action::ToggleFullscreen:
        postMessage(WM_TOGGLEFULLSCREEN);
        break;
    case Action::FocusOut:
        postMessage(WM_KILLFOCUS);
        break;
    case Action::FocusIn:
        postMessage(WM_SETFOCUS);
        break;
    case Action::PadAttach:
        if (!pad.attach()) {
            debugOutput("HeadlessWindow: the software gamepad could not be plugged in\n");
        }
        break;
    case Action::PadDetach:
        pad.detach();
        break;
    case Action::PadAxis:
        pad.setAxis(event.control, event.value);
        break;
    case Action::PadButton:
        pad.setButton(event.control, event.value != 0);
        break;
    }
}

void HeadlessWindow::keepPicture() {
    if (!options.keepLastFrame || frames == 0 || !surface.isValid() || !lastFramePixels.empty()) {
        return;
    }
    surface.makeCurrent();
    const int width = options.width;
    const int height = options.height;
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
    // GL gives the bottom row first; pictures on disk start at the top.
    lastFramePixels.resize(rows.size());
    const std::size_t stride = static_cast<std::size_t>(width) * 3;
    for (int y = 0; y < height; ++y) {
        std::copy_n(rows.begin() + static_cast<std::ptrdiff_t>(y * stride), stride,
                    lastFramePixels.begin() +
                        static_cast<std::ptrdiff_t>((height - 1 - y) * stride));
    }
}

bool HeadlessWindow::writeLastFramePpm(const std::string& fileName, std::string& why) const {
    if (lastFramePixels.empty()) {
        why = "no frame was drawn";
        return false;
    }
    std::FILE* file = openOutput(fileName, why);
    if (file == nullptr) {
        return false;
    }
    std::fprintf(file, "P6\n%d %d\n255\n", options.width, options.height);
    std::fwrite(lastFramePixels.data(), 1, lastFramePixels.size(), file);
    const bool failedOnTheWay = std::ferror(file) != 0;
    if (std::fclose(file) != 0 || failedOnTheWay) {
        why = std::strerror(errno != 0 ? errno : EIO);
        return false;
    }
    return true;
}

} // namespace platform
