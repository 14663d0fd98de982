// A knacker: a big armoured model, turned a quarter round, red on the radar.
#include "game/Knacker.h"

#include "world/ElementContainer.h"

namespace {
const float kKnackerHealth = 500.0f;
const float kKnackerScale = 6.0f;
const float kKnackerTurn = 90.0f; // degrees about its own up axis
const float kKnackerRadarColor[3] = {1.0f, 0.0f, 0.0f};
} // namespace

Knacker::Knacker(ElementContainer* container, const char* modelFile) : Object3D(container) {
    setModelFile(modelFile);
    init();
}

void Knacker::update(double) {}

void Knacker::init() {
    fHealth = kKnackerHealth;
    fRadius = kRadius;
    setScale(kKnackerScale, kKnackerScale, kKnackerScale);
    yaw(kKnackerTurn);
    pModel = loadModel(getModelFile().c_str(), kKindKnacker);
    createDisplayList();
    for (int i = 0; i < 3; ++i) {
        fRadarColor[i] = kKnackerRadarColor[i];
    }
}
