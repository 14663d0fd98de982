// Asteroid0
#pragma once

#include "world/Object3D.h"

class Asteroid : public Object3D {
public:
    Asteroid(ElementContainer* container, const char* modelFile);
    void update(double t) override;
    void init() override;
};
