// The star sky: a closed, star-textured rhombicuboctahedron 7000 units to the edge, kept
// centred on the player's ship, so the stars keep their distance however far it flies.
#pragma once

#include "world/Object3D.h"

class OuterSpace : public Object3D {
public:
    static constexpr const char* kTextureFile = "data/texture/sterne.bmp";
    // Edge length of the sky, in world units.
    static constexpr float kEdge = 7000.0f;

    explicit OuterSpace(ElementContainer* container);
    ~OuterSpace() override;

    void update(double t) override;
    void init() override;
    // Loads the star texture and compiles the sky into its own list.
    unsigned createDisplayList() override;
    void draw() override;

    unsigned getDisplayList() const { return iDisplayList; }
};
