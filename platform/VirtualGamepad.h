// A gamepad made of software (SDL's virtual joystick), plugged in, moved and pulled out by the
// off-screen window's script, so gamepad play can be tested without one.
#pragma once

#include <string>

struct _SDL_Joystick;

namespace platform {

class VirtualGamepad {
public:
    VirtualGamepad() = default;
    ~VirtualGamepad();
    VirtualGamepad(const VirtualGamepad&) = delete;
    VirtualGamepad& operator=(const VirtualGamepad&) = delete;

    // Needs SDL's game-controller subsystem running. False when SDL refuses.
    bool attach();
    void detach();
    void setAxis(int axis, int value);
    void setButton(int button, bool down);

    // SDL's names ("leftx", "righttrigger", "start", "back", ...); -1 for unknown names.
    static int axisNamed(const std::string& name);
    static int buttonNamed(const std::string& name);

private:
    _SDL_Joystick* joystick = nullptr;
};

} // namespace platform
