// A knacker: a large, sturdy model turned a quarter round, red on the radar; it takes many hits
// before it is destroyed.
#pragma once

#include "world/Object3D.h"

class Knacker : public Object3D {
public:
    static constexpr float kRadius = 50.0f; // world units
    Knacker(ElementContainer* container, const char* modelFile);
    void update(double t) override;
    void init() override;
};
