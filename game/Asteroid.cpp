// An asteroid: a rock model scaled up six times, grey on the radar.
#include "game/Asteroid.h"

#include "world/ElementContainer.h"

namespace {
const float kAsteroidHealth = 100.0f;
const float kAsteroidScale = 6.0f;
const float kAsteroidRadarColor[3] = {0.5f, 0.5f, 0.5f};
} // namespace

Asteroid::Asteroid(ElementContainer* container, const char* modelFile) : Object3D(container) {
    setModelFile(modelFile);
    init();
}

void Asteroid::update(double) {}

void Asteroid::init() {
    fHealth = kAsteroidHealth;
    fRadius = kRadius;
    setScale(kAsteroidScale, kAsteroidScale, kAsteroidScale);
    pModel = loadModel(getModelFile().c_str(), kKindAsteroid);
    createDisplayList();
    for (int i = 0; i < 3; ++i) {
        fRadarColor[i] = kAsteroidRadarColor[i];
    }
}
