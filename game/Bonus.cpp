// A bonus item: model, health, and the default radius and radar colour.
#include "game/Bonus.h"

#include "world/ElementContainer.h"

namespace {
const float kBonusHealth = 100.0f;
}

Bonus::Bonus(ElementContainer* container, const char* modelFile) : Object3D(container) {
    setModelFile(modelFile);
    init();
}

void Bonus::update(double) {}

void Bonus::init() {
    fHealth = kBonusHealth;
    pModel = loadModel(getModelFile().c_str(), kKindBonus);
    createDisplayList();
}
