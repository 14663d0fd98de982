// Gamepads through SDL's game-controller API, plugged in and out while the game runs: sticks
// pushed past a dead zone, triggers pulled and buttons pressed become key-down and key-up
// messages of the gamepad's virtual-key codes, so the key table treats them like keys.
#pragma once

#include "platform/Messages.h"

#include <map>

struct _SDL_GameController;
union SDL_Event;

namespace platform {

class Window;

class Gamepads {
public:
    // A quarter of a stick's or trigger's travel does nothing (SDL's axis range is 32767).
    static const int kDeadZone = 32767 / 4;

    Gamepads() = default;
    ~Gamepads();
    Gamepads(const Gamepads&) = delete;
    Gamepads& operator=(const Gamepads&) = delete;

    // Starts SDL's game-controller subsystem alone; the pads already there arrive as plug-ins.
    bool start();
    void stop();
    bool started() const { return running; }
    int connected() const { return static_cast<int>(pads.size()); }

    // Acts on one SDL event; true when it was a pad's and posted messages to the window.
    bool translate(const SDL_Event& event, Window& window);
    // Takes every waiting SDL event and translates the pads' ones (for a window without SDL
    // events of its own). True when anything was posted.
    bool pump(Window& window);

private:
    void setKey(Window& window, unsigned code, bool down);
    void axis(Window& window, int axis, int value);
    void releaseAll(Window& window);

    bool running = false;
    std::map<int, _SDL_GameController*> pads; // by joystick instance id
    bool held[VK_COUNT] = {};
};

} // namespace platform
