// A shot in flight: flies straight along its view axis, trails smoke, expires after its
// lifetime and bursts into an explosion whenever something hits it. Base of both guns' shots.
#pragma once

#include "world/Object3D.h"

class Projectile : public Object3D {
public:
    // Flight time of every shot, in time units (1/20 s).
    static constexpr float kLifetime = 35.0f;
    // The smoke timer starts here, so the first puff comes half a time unit after launch.
    static constexpr float kSmokeTimerStart = 0.5f;
    // A puff is dropped once the timer passes this many time units.
    static constexpr float kSmokeInterval = 1.0f;

    void hit(float damage) override;
    void update(double t) override;
    void init() override;

    float getLifetime() const { return fLifetime; }
    float getSmokeTimer() const { return fSmokeTimer; }

protected:
    // modelKind keys the shared model record in the container's cache.
    Projectile(ElementContainer* container, const char* modelFile, int modelKind);

    float fLifetime = kLifetime;
    float fSmokeTimer = kSmokeTimerStart;
    // A hit has brought the health to 0 or below.
    bool bDestroyed = false;

private:
    int iModelKind;
};
