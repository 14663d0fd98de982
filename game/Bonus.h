// A bonus item floating in space: a model with health, taking hits until it is destroyed.
#pragma once

#include "world/Object3D.h"

class Bonus : public Object3D {
public:
    Bonus(ElementContainer* container, const char* modelFile);
    void update(double t) override;
    void init() override;
};
