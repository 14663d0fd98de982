// What the level walk hands over for every object it reads: the world creates an element from
// it, the level fuzzer only records it.
#pragma once

#include "level/Trigger.h"

#include <string>
#include <vector>

class LevelBuilder {
public:
    // One OBJECT of a level file as written there.
    struct Object {
        std::string type;  // type name, e.g. "OBJ3D_FIGHTER"; unknown names are passed on too
        std::string objId; // the object's name in the level
        float pos[3] = {0.0f, 0.0f, 0.0f}; // absent or unreadable coordinates are 0
        std::vector<Trigger> triggers;     // its TRIGGER children, in file order
    };

    virtual ~LevelBuilder() = default;
    virtual void createElement(const Object& object) = 0;
};
