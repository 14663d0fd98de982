// The desktop backend: one SDL window with an OpenGL context, SDL events translated into the
// game's window messages, and SDL message boxes while a display is there.
#pragma once

#include "platform/Gamepads.h"
#include "platform/Platform.h"
#include "platform/Window.h"

struct SDL_Window;
union SDL_Event;

namespace platform {

class SdlWindow : public Window {
public:
    // Connects to the display at once, so the start question can already be a real box; without
    // a display, boxes keep going to the debug channel.
    SdlWindow();
    ~SdlWindow() override;
    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;

    bool hasDisplay() const { return displayReady; }
    // Why there is no display ("" when there is one).
    const std::string& displayError() const { return noDisplayReason; }

    bool openDisplay() override;
    bool closeDisplay() override;
    bool changeDisplayMode(int width, int height, int bits) override;
    void restoreDisplayMode() override;
    bool createWindow(const char* title, int width, int height, bool fullscreen) override;
    bool setFullscreen(bool fullscreen) override;
    void drawableSize(int& width, int& height) const override;
    bool destroyWindow() override;
    bool hasWindow() const override { return window != nullptr; }
    bool createContext() override;
    bool makeCurrent() override;
    bool releaseCurrent() override;
    bool deleteContext() override;
    bool hasContext() const override { return context != nullptr; }
    void show() override;
    void showCursor(bool visible) override;
    void swapBuffers() override;
    int gamepadsConnected() const override { return gamepads.connected(); }

    // The game's key code for an SDL key code, by the key's label on the player's layout; 0 for
    // keys the game has no code for.
    static unsigned virtualKeyFor(int sdlKeycode);
    // Shows the request as an SDL box: Enter answers Yes, Esc or closing the box answers No.
    static Answer showMessageBox(const MessageBoxRequest& request);

protected:
    void pumpEvents() override;

private:
    // Starts SDL video on a driver that shows a screen; false with noDisplayReason otherwise.
    bool startVideo();
    // Queues the messages the event means to the game; false when it means nothing.
    bool translate(const SDL_Event& event);

    bool displayReady = false;
    std::string noDisplayReason;
    MessageBoxHandler previousHandler;
    bool fullscreenModeWanted = false;
    int modeWidth = 0;
    int modeHeight = 0;
    SDL_Window* window = nullptr;
    void* context = nullptr;
    bool swapIntervalAsked = false;
    Gamepads gamepads;
};

} // namespace platform
