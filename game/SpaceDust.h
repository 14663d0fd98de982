// Space dust: 2000 tiny white grains scattered in a cube around the player and wrapped so the
// cube always stays centred on it, to show the ship's motion against empty space.
#pragma once

#include "world/Object3D.h"

#include <array>
#include <vector>

class SpaceDust : public Object3D {
public:
    static constexpr int kGrainCount = 2000;
    // Side of the cube of dust around the followed element, in world units.
    static constexpr float kCubeSide = 500.0f;
    // Spin of every grain, in degrees per time unit.
    static constexpr float kSpin = 10.0f;

    struct Grain {
        float pos[3];
        float angle;   // degrees
        float axis[3]; // unit length
    };

    // follow is the element the dust lies around: the player's ship, or none yet (the dust
    // then stays around the origin).
    SpaceDust(ElementContainer* container, Element3D* follow);
    ~SpaceDust() override;

    void update(double t) override;
    void init() override {}
    void draw() override;

    Element3D* getFollow() const { return pFollow; }
    unsigned getDustList() const { return iDustList; }
    Grain& grain(int i) { return dust[i]; }

private:
    // Every grain in view as two quads (one per winding) already in world space, one array.
    void drawBatched();

    Element3D* pFollow;
    std::vector<float> corners; // x, y, z per corner; keeps its room from frame to frame
    unsigned iDustList = 0;
    std::array<Grain, kGrainCount> dust;
};
