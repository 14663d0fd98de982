// Firing a trigger; building one from the level file lives beside the level loader.
#include "level/Trigger.h"

#include "world/ElementContainer.h"

void Trigger::fire() {
    if (iEvent == kTriggerEventEndLevel) {
        ElementContainer::getInstance()->setLevelEnded();
    }
}
