// An asteroid: a still rock model, six times its size, grey on the radar; it takes hits until
// it breaks up.
#pragma once

#include "world/Object3D.h"

class Asteroid : public Object3D {
public:
    static constexpr float kRadius = 20.0f; // world units
    Asteroid(ElementContainer* container, const char* modelFile);
    void update(double t) override;
    void init() override;
};
