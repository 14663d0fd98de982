// The player's laser shot, fired from the ship's guns.
#pragma once

#include "game/Projectile.h"

class Fugenmasse : public Projectile {
public:
    Fugenmasse(ElementContainer* container, const char* modelFile);
};
