// SDL's virtual joystick, typed as a game controller so SDL maps its axes and buttons itself.
#include "platform/VirtualGamepad.h"

#include <SDL.h>

namespace platform {

VirtualGamepad::~VirtualGamepad() {
    detach();
}

bool VirtualGamepad::attach() {
    if (joystick != nullptr) {
        return true;
    }
    const int index = SDL_JoystickAttachVirtual(
        SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
    if (index < 0) {
        return false;
    }
    joystick = SDL_JoystickOpen(index);
    return joystick != nullptr;
}

void VirtualGamepad::detach() {
    if (joystick == nullptr) {
        return;
    }
    const SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
    SDL_JoystickClose(joystick);
    joystick = nullptr;
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) == id) {
            SDL_JoystickDetachVirtual(i);
            break;
        }
    }
}

void VirtualGamepad::setAxis(int axis, int value) {
    if (joystick != nullptr) {
        SDL_JoystickSetVirtualAxis(joystick, axis, static_cast<Sint16>(value));
    }
}

void VirtualGamepad::setButton(int button, bool down) {
    if (joystick != nullptr) {
        SDL_JoystickSetVirtualButton(joystick, button, down ? SDL_PRESSED : SDL_RELEASED);
    }
}

int VirtualGamepad::axisNamed(const std::string& name) {
    return SDL_GameControllerGetAxisFromString(name.c_str());
}

int VirtualGamepad::buttonNamed(const std::string& name) {
    return SDL_GameControllerGetButtonFromString(name.c_str());
}

} // namespace platform
