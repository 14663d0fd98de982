// The game's window with its GL context and message queue, as one backend (a desktop window
// through SDL, or an off-screen surface fed by a script) provides it. The steps mirror the
// set-up and tear-down of the game's window so each can fail with its own message.
#pragma once

#include "platform/Messages.h"

#include <string>
#include <vector>

namespace platform {

class Window {
public:
    virtual ~Window() = default;

    // Connects to the display (the desktop's window class registration). False when there is
    // no display; lastError() says why.
    virtual bool openDisplay() = 0;
    virtual bool closeDisplay() = 0;

    // Switches the display to width x height at the colour depth. False when it refuses.
    virtual bool changeDisplayMode(int width, int height, int bits) = 0;
    // Back to the desktop's own mode.
    virtual void restoreDisplayMode() = 0;

    // A hidden window with a client area of width x height, able to hold a double-buffered RGBA
    // context with a depth buffer. Full screen, it covers the screen: in the mode set before by
    // changeDisplayMode, or else at the desktop's own resolution without any mode change.
    virtual bool createWindow(const char* title, int width, int height, bool fullscreen) = 0;
    // Between a window (at its size before) and full screen at the desktop's resolution, while
    // the game runs; the new size arrives as a WM_SIZE. False when the system refuses.
    virtual bool setFullscreen(bool fullscreen) = 0;
    // The size in pixels that GL draws into (more than the window's size on a high-density
    // screen).
    virtual void drawableSize(int& width, int& height) const = 0;
    virtual bool destroyWindow() = 0;
    virtual bool hasWindow() const = 0;

    virtual bool createContext() = 0;
    // Makes the context current on the calling thread; vertical sync is asked for on the first
    // success.
    virtual bool makeCurrent() = 0;
    virtual bool releaseCurrent() = 0;
    virtual bool deleteContext() = 0;
    virtual bool hasContext() const = 0;

    // Shows the window and gives it the keyboard.
    virtual void show() = 0;
    virtual void showCursor(bool visible) = 0;
    virtual void swapBuffers() = 0;
    // Gamepads plugged in now.
    virtual int gamepadsConnected() const { return 0; }

    // Takes the next waiting message off the queue, if any; never blocks.
    bool peekMessage(Message& message);
    // Queues a message behind those waiting (PostMessage).
    void postMessage(unsigned message, WParam wParam = 0, LParam lParam = 0);
    // Queues the quit message that ends the main loop, with the code as its wParam.
    void postQuitMessage(int exitCode) { postMessage(WM_QUIT, static_cast<WParam>(exitCode)); }

    // The backend's own words for the last failure ("" when none).
    const std::string& lastError() const { return error; }

protected:
    // Called while the queue is empty: translates pending system events into queued messages.
    // Posting nothing means nothing is waiting.
    virtual void pumpEvents() = 0;
    void setError(std::string text) { error = std::move(text); }

private:
    // Waiting messages from `next` on; a vector rather than a deque, which would take and give
    // back memory as the queue moves along.
    std::vector<Message> queue;
    std::size_t next = 0;
    std::string error;
};

} // namespace platform
