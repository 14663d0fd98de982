// The keys card's rows in the order a new player needs them: flying, fighting, then the rest.
#include "app/KeysCard.h"

#include "platform/Messages.h"

#include <algorithm>

namespace {

struct Row {
    KeyAction action;
    const char* what;
};
const Row kRows[] = {
    {KeyAction::TurnLeft, "turn left"}, {KeyAction::TurnRight, "turn right"},
    {KeyAction::NoseDown, "nose down"}, {KeyAction::NoseUp, "nose up"},
    {KeyAction::RollLeft, "roll left"}, {KeyAction::RollRight, "roll right"},
    {KeyAction::Faster, "faster"},      {KeyAction::Slower, "slower"},
    {KeyAction::Fire, "fire"},          {KeyAction::Pause, "pause / go on"},
    {KeyAction::ShowKeys, "this card"}, {KeyAction::PlayAgain, "next level / play again"},
    {KeyAction::Quit, "quit"},
};

const struct {
    unsigned code;
    const char* name;
} kPadNames[] = {
    {platform::VK_GAMEPAD_LEFT_THUMBSTICK_LEFT, "left stick left"},
    {platform::VK_GAMEPAD_LEFT_THUMBSTICK_RIGHT, "left stick right"},
    {platform::VK_GAMEPAD_LEFT_THUMBSTICK_UP, "left stick forward"},
    {platform::VK_GAMEPAD_LEFT_THUMBSTICK_DOWN, "left stick back"},
    {platform::VK_GAMEPAD_RIGHT_THUMBSTICK_LEFT, "right stick left"},
    {platform::VK_GAMEPAD_RIGHT_THUMBSTICK_RIGHT, "right stick right"},
    {platform::VK_GAMEPAD_RIGHT_SHOULDER, "right shoulder"},
    {platform::VK_GAMEPAD_LEFT_SHOULDER, "left shoulder"},
    {platform::VK_GAMEPAD_RIGHT_TRIGGER, "right trigger"},
    {platform::VK_GAMEPAD_MENU, "Start"},
    {platform::VK_GAMEPAD_VIEW, "Back"},
};

std::string padName(unsigned code) {
    for (const auto& entry : kPadNames) {
        if (entry.code == code) {
            return entry.name;
        }
    }
    return "";
}

std::string padded(std::string text, std::size_t width) {
    text.resize(std::max(text.size(), width), ' ');
    return text;
}

} // namespace

std::vector<std::string> KeysCardLines(const KeyBindings& keys, bool gamepad) {
    std::vector<std::string> keyTexts;
    std::size_t keyWidth = 0;
    for (const Row& row : kRows) {
        std::string text;
        for (unsigned code : keys.keyboardKeys(row.action)) {
            text += (text.empty() ? "" : ", ") + platform::virtualKeyName(code);
        }
        keyWidth = std::max(keyWidth, text.size());
        keyTexts.push_back(text);
    }
    std::vector<std::string> lines = {"KEYS  (F1 hides this card)", ""};
    std::size_t i = 0;
    for (const Row& row : kRows) {
        std::string line = padded(keyTexts[i++], keyWidth) + "  " + row.what;
        if (gamepad) {
            std::string pad;
            for (unsigned code : keys.keys(row.action)) {
                pad = KeyBindings::isGamepadKey(code) ? padName(code) : pad;
            }
            line = pad.empty() ? line : padded(line, keyWidth + 2 + 24) + pad;
        }
        lines.push_back(line);
    }
    lines.push_back(padded("M", keyWidth) + "  sound off / on");
    lines.push_back("");
    lines.push_back("Debug keys: F3 wireframe, F4 display lists, F5 vertex arrays,");
    lines.push_back("F6 texture filter, SPACE spawns a fighter, B an asteroid,");
    lines.push_back("1 an explosion, V writes every object's place to the log");
    return lines;
}
