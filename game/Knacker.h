// Knacker0
#pragma once

#include "world/Object3D.h"

class Knacker : public Object3D {
public:
    Knacker(ElementContainer* container, const char* modelFile);
    void update(double t) override;
    void init() override;
};
