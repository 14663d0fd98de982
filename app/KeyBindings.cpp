// The default bindings and the settings names of the actions.
#include "app/KeyBindings.h"

#include "platform/Messages.h"

namespace {

struct Default {
    KeyAction action;
    const char* name;
    unsigned key;
    unsigned gamepad;  // 0: none
    unsigned key2 = 0; // a second keyboard key, 0: none
};

// Left stick turns and pitches (pushed forward the nose goes down), right stick rolls. Start
// both pauses and goes on: which one it does is decided where the two actions are taken.
const Default kDefaults[kKeyActionCount] = {
    {KeyAction::TurnLeft, "turn_left", 'S', platform::VK_GAMEPAD_LEFT_THUMBSTICK_LEFT},
    {KeyAction::TurnRight, "turn_right", 'F', platform::VK_GAMEPAD_LEFT_THUMBSTICK_RIGHT},
    {KeyAction::NoseDown, "nose_down", 'E', platform::VK_GAMEPAD_LEFT_THUMBSTICK_UP},
    {KeyAction::NoseUp, "nose_up", 'D', platform::VK_GAMEPAD_LEFT_THUMBSTICK_DOWN},
    {KeyAction::RollLeft, "roll_left", 'W', platform::VK_GAMEPAD_RIGHT_THUMBSTICK_LEFT},
    {KeyAction::RollRight, "roll_right", 'R', platform::VK_GAMEPAD_RIGHT_THUMBSTICK_RIGHT},
    {KeyAction::Faster, "faster", 'I', platform::VK_GAMEPAD_RIGHT_SHOULDER},
    {KeyAction::Slower, "slower", 'K', platform::VK_GAMEPAD_LEFT_SHOULDER},
    {KeyAction::Fire, "fire", 'U', platform::VK_GAMEPAD_RIGHT_TRIGGER},
    {KeyAction::Quit, "quit", platform::VK_ESCAPE, platform::VK_GAMEPAD_VIEW},
    {KeyAction::PlayAgain, "play_again", platform::VK_RETURN, platform::VK_GAMEPAD_MENU},
    {KeyAction::Pause, "pause", 'P', platform::VK_GAMEPAD_MENU, platform::VK_PAUSE},
    {KeyAction::ShowKeys, "show_keys", platform::VK_F1, 0},
};

} // namespace

KeyBindings::KeyBindings() {
    for (const Default& entry : kDefaults) {
        std::vector<unsigned>& keys = bound[static_cast<int>(entry.action)];
        keys = {entry.key};
        if (entry.key2 != 0) {
            keys.push_back(entry.key2);
        }
        if (entry.gamepad != 0) {
            keys.push_back(entry.gamepad);
        }
    }
}

bool KeyBindings::isGamepadKey(unsigned code) {
    return code >= platform::VK_GAMEPAD_A && code <= platform::VK_GAMEPAD_RIGHT_THUMBSTICK_LEFT;
}

std::vector<unsigned> KeyBindings::keyboardKeys(KeyAction action) const {
    std::vector<unsigned> result;
    for (unsigned code : keys(action)) {
        if (!isGamepadKey(code)) {
            result.push_back(code);
        }
    }
    return result;
}

void KeyBindings::setKeyboardKeys(KeyAction action, const std::vector<unsigned>& keyCodes) {
    std::vector<unsigned> gamepad;
    for (unsigned code : keys(action)) {
        if (isGamepadKey(code)) {
            gamepad.push_back(code);
        }
    }
    std::vector<unsigned>& list = bound[static_cast<int>(action)];
    list = keyCodes;
    list.insert(list.end(), gamepad.begin(), gamepad.end());
}

const char* KeyBindings::name(KeyAction action) {
    return kDefaults[static_cast<int>(action)].name;
}

bool KeyBindings::actionNamed(const std::string& text, KeyAction& action) {
    for (const Default& entry : kDefaults) {
        if (text == entry.name) {
            action = entry.action;
            return true;
        }
    }
    return false;
}
