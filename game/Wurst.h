// The enemy fighters' shot: a sausage that flies, smokes and bursts like the player's laser.
#pragma once

#include "game/Projectile.h"

class Wurst : public Projectile {
public:
    Wurst(ElementContainer* container, const char* modelFile);
};
