// Pad events to key messages: each stick direction, trigger and used button is one key.
#include "platform/Gamepads.h"

#include "platform/Window.h"

#include <SDL.h>

namespace platform {
namespace {

const LParam kKeyDownBits = 1;
const LParam kKeyUpBits = 1 | (1L << 30) | (1L << 31);

unsigned buttonKey(int button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_A:
        return VK_GAMEPAD_A;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
        return VK_GAMEPAD_LEFT_SHOULDER;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
        return VK_GAMEPAD_RIGHT_SHOULDER;
    case SDL_CONTROLLER_BUTTON_START:
        return VK_GAMEPAD_MENU;
    case SDL_CONTROLLER_BUTTON_BACK:
        return VK_GAMEPAD_VIEW;
    default:
        return 0;
    }
}

} // namespace

Gamepads::~Gamepads() {
    stop();
}

bool Gamepads::start() {
    if (!running) {
        running = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    }
    return running;
}

void Gamepads::stop() {
    if (!running) {
        return;
    }
    for (auto& [id, pad] : pads) {
        SDL_GameControllerClose(pad);
    }
    pads.clear();
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    running = false;
}

void Gamepads::setKey(Window& window, unsigned code, bool down) {
    if (held[code] == down) {
        return;
    }
    held[code] = down;
    window.postMessage(down ? WM_KEYDOWN : WM_KEYUP, code, down ? kKeyDownBits : kKeyUpBits);
}

void Gamepads::releaseAll(Window& window) {
    for (unsigned code = 0; code < VK_COUNT; ++code) {
        setKey(window, code, false);
    }
}

void Gamepads::axis(Window& window, int which, int value) {
    const bool low = value < -kDeadZone;
    const bool high = value > kDeadZone;
    switch (which) {
    case SDL_CONTROLLER_AXIS_LEFTX:
        setKey(window, VK_GAMEPAD_LEFT_THUMBSTICK_LEFT, low);
        setKey(window, VK_GAMEPAD_LEFT_THUMBSTICK_RIGHT, high);
        break;
    case SDL_CONTROLLER_AXIS_LEFTY: // SDL counts downwards
        setKey(window, VK_GAMEPAD_LEFT_THUMBSTICK_UP, low);
        setKey(window, VK_GAMEPAD_LEFT_THUMBSTICK_DOWN, high);
        break;
    case SDL_CONTROLLER_AXIS_RIGHTX:
        setKey(window, VK_GAMEPAD_RIGHT_THUMBSTICK_LEFT, low);
        setKey(window, VK_GAMEPAD_RIGHT_THUMBSTICK_RIGHT, high);
        break;
    case SDL_CONTROLLER_AXIS_RIGHTY:
        setKey(window, VK_GAMEPAD_RIGHT_THUMBSTICK_UP, low);
        setKey(window, VK_GAMEPAD_RIGHT_THUMBSTICK_DOWN, high);
        break;
    case SDL_CONTROLLER_AXIS_TRIGGERLEFT:
        setKey(window, VK_GAMEPAD_LEFT_TRIGGER, high);
        break;
    case SDL_CONTROLLER_AXIS_TRIGGERRIGHT:
        setKey(window, VK_GAMEPAD_RIGHT_TRIGGER, high);
        break;
    default:
        break;
    }
}

bool Gamepads::translate(const SDL_Event& event, Window& window) {
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED: {
        SDL_GameController* pad = SDL_GameControllerOpen(event.cdevice.which);
        if (pad == nullptr) {
            return false;
        }
        const int id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
        if (pads.count(id) != 0) {
            SDL_GameControllerClose(pad); // already open: SDL counts the second open
            return false;
        }
        pads[id] = pad;
        return false;
    }
    case SDL_CONTROLLERDEVICEREMOVED: {
        auto found = pads.find(event.cdevice.which);
        if (found == pads.end()) {
            return false;
        }
        SDL_GameControllerClose(found->second);
        pads.erase(found);
        // A pad pulled out mid-turn must not leave the ship turning.
        releaseAll(window);
        return true;
    }
    case SDL_CONTROLLERAXISMOTION:
        axis(window, event.caxis.axis, event.caxis.value);
        return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
        const unsigned code = buttonKey(event.cbutton.button);
        if (code != 0) {
            setKey(window, code, event.type == SDL_CONTROLLERBUTTONDOWN);
        }
        return code != 0;
    }
    default:
        return false;
    }
}

bool Gamepads::pump(Window& window) {
    if (!running) {
        return false;
    }
    bool posted = false;
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        posted = translate(event, window) || posted;
    }
    return posted;
}

} // namespace platform
