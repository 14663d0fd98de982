// The enemy fighters' shot: a projectile with the sausage model, cached under its own kind.
#include "game/Wurst.h"

#include "world/ElementContainer.h"

Wurst::Wurst(ElementContainer* container, const char* modelFile)
    : Projectile(container, modelFile, kKindWurst) {
    init();
}
