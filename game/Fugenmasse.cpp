// The player's laser shot: a projectile with its own model, cached under its own kind.
#include "game/Fugenmasse.h"

#include "world/ElementContainer.h"

Fugenmasse::Fugenmasse(ElementContainer* container, const char* modelFile)
    : Projectile(container, modelFile, kKindLaserProjectile) {
    init();
}
