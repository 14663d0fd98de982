// Firing a level trigger: the level reader builds the record, the world carries out its event.
#include "level/Trigger.h"

#include "world/ElementContainer.h"

void Trigger::fire() {
    if (iEvent == kTriggerEventEndLevel) {
        ElementContainer::getInstance()->setLevelEnded();
    }
}
