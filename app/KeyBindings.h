// Which keys do each of the player's actions: the game's own keys unless the settings file names
// others, plus the gamepad's controls, which always work.
#pragma once

#include <string>
#include <vector>

enum class KeyAction {
    TurnLeft,
    TurnRight,
    NoseDown,
    NoseUp,
    RollLeft,
    RollRight,
    Faster,
    Slower,
    Fire,
    Quit,
    PlayAgain, // once the level is over: the next level, or the same again
    Pause,
    ShowKeys, // the keys card
};
const int kKeyActionCount = 13;

class KeyBindings {
public:
    // The game's keys (S F E D W R I K U, Esc, Enter, P and Pause, F1) and the gamepad.
    KeyBindings();

    // Every key code that does the action, keyboard first.
    const std::vector<unsigned>& keys(KeyAction action) const {
        return bound[static_cast<int>(action)];
    }
    // The keyboard keys only, as the settings file lists them.
    std::vector<unsigned> keyboardKeys(KeyAction action) const;
    // Replaces the action's keyboard keys; the gamepad's controls stay.
    void setKeyboardKeys(KeyAction action, const std::vector<unsigned>& keyCodes);

    // The action's name in the settings file ("turn_left", "fire", ...).
    static const char* name(KeyAction action);
    static bool actionNamed(const std::string& text, KeyAction& action);
    static bool isGamepadKey(unsigned code);

private:
    std::vector<unsigned> bound[kKeyActionCount];
};
