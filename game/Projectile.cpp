// Projectile flight: lifetime, straight-line movement, the smoke trail and the burst on impact.
#include "game/Projectile.h"

#include "world/ElementContainer.h"

Projectile::Projectile(ElementContainer* container, const char* modelFile, int modelKind)
    : Object3D(container), iModelKind(modelKind) {
    setModelFile(modelFile);
}

void Projectile::init() {
    fLifetime = kLifetime;
    fSmokeTimer = kSmokeTimerStart;
    bDestroyed = false;
    pModel = loadModel(getModelFile().c_str(), iModelKind);
    createDisplayList();
}

void Projectile::update(double t) {
    fLifetime -= static_cast<float>(t);
    if (fLifetime <= 0.0f) {
        // A shot that runs out of range simply vanishes; only a hit makes it burst.
        bVisible = false;
        fHealth = 0.0f;
        return;
    }
    moveForward(static_cast<float>(dSpeed * t));

    fSmokeTimer += static_cast<float>(t);
    if (fSmokeTimer > kSmokeInterval) {
        fSmokeTimer = 0.0f;
        Object3D* cloud = pContainer->addElement(kKindSmokeCloud);
        if (cloud != nullptr) { // none while the world holds its most effects
            cloud->setMatrix(fMatrix);
            // One unit behind the shot, so the trail starts at its tail.
            cloud->setPos(fPos[0] - getView(0), fPos[1] - getView(1), fPos[2] - getView(2));
        }
    }
}

void Projectile::hit(float damage) {
    // A shot bursts at each hit until a hit has destroyed it; one destroyed already (it goes
    // at the end of this update) bursts no more, however many more things it touches.
    const bool burstsNow = !bDestroyed;
    Object3D::hit(damage);
    bDestroyed = bDestroyed || fHealth <= 0.0f;
    if (!burstsNow) {
        return;
    }
    Object3D* explosion = pContainer->addElement(kKindExplosion);
    if (explosion != nullptr) { // none while the world holds its most effects
        explosion->setPos(fPos[0], fPos[1], fPos[2]);
    }
}
