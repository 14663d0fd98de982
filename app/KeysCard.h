// The text of the keys card (F1): the keys in effect for each of the player's actions, the game's
// own or what the settings file made of them, the pad's controls while a pad is plugged in, and
// the debug keys marked as such.
#pragma once

#include "app/KeyBindings.h"

#include <string>
#include <vector>

// One line per row of the card, the title first, in printable ASCII.
std::vector<std::string> KeysCardLines(const KeyBindings& keys, bool gamepad);
