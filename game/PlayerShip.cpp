// The player's ship: command handling, the turn-rate ramp, thrust limits, the sky drag and the
// two alternating guns.
#include "game/PlayerShip.h"

#include "world/ElementContainer.h"

namespace {

const float kShipHealth = 300.0f;
const float kShipRadius = 30.0f;           // world units
const double kMaxTurnRate = 5.0;           // degrees per time unit (100 degrees per second)
const double kBaseTurnRate = 0.5;          // degrees per time unit (10 degrees per second)
const double kTurnAcceleration = 3.0;      // degrees per time unit, gained per second held
const float kShotInterval = 10.0f;         // time units between two shots
const float kGunSideOffset = 20.0f;        // world units along the right axis
const float kGunForwardOffset = 20.0f;     // world units along the view axis
const double kProjectileSpeedBonus = 50.0; // world units per time unit above the ship's speed

} // namespace

PlayerShip::PlayerShip(ElementContainer* container, Element3D* sky)
    : Element3D(container), pSky(sky), dMaxTurnRate(kMaxTurnRate), dTurnRate(kBaseTurnRate),
      dBaseTurnRate(kBaseTurnRate), dTurnAcceleration(kTurnAcceleration) {
    fHealth = kShipHealth;
    fRadius = kShipRadius;
    bActive = true;
    fShotTimer = 0.0f;
    container->setPlayer(this);
}

void PlayerShip::rampTurnRate(double seconds) {
    dTurnRate += seconds * dTurnAcceleration;
    if (dTurnRate > dMaxTurnRate) {
        dTurnRate = dMaxTurnRate;
    }
}

void PlayerShip::resetTurnRate() {
    dTurnRate = dBaseTurnRate;
}

void PlayerShip::update(double t) {
    // A destroyed ship or an ended level leaves the collisions for good; the ship drifts on.
    if (fHealth < 0.0f || pContainer->bLevelEnded) {
        bActive = false;
    }
    fShotTimer += static_cast<float>(t);

    // Yaw before pitch before roll: with several keys held the order shapes the turn.
    if (iYawInput != 0) {
        yaw(static_cast<float>(iYawInput * t * dTurnRate));
        iYawInput = 0;
    }
    if (iPitchInput != 0) {
        pitch(static_cast<float>(iPitchInput * t * dTurnRate));
        iPitchInput = 0;
    }
    if (iRollInput != 0) {
        roll(static_cast<float>(iRollInput * t * dTurnRate));
        iRollInput = 0;
    }

    applyThrust(t);
    moveForward(static_cast<float>(t * dSpeed));

    // The sky box is finite: keeping it centred on the ship makes the stars look infinitely far.
    if (pSky != nullptr) {
        pSky->setPos(fPos[0], fPos[1], fPos[2]);
    }
}

void PlayerShip::fire() {
    if (fShotTimer < kShotInterval) {
        return;
    }
    fShotTimer = 0.0f;

    Element3D* shot = pContainer->addElement(kKindLaserProjectile);
    shot->setMatrix(fMatrix);
    const float side = bRightGun ? kGunSideOffset : -kGunSideOffset;
    bRightGun = !bRightGun;
    shot->setPos(fPos[0] + getRight(0) * side + getView(0) * kGunForwardOffset,
                 fPos[1] + getRight(1) * side + getView(1) * kGunForwardOffset,
                 fPos[2] + getRight(2) * side + getView(2) * kGunForwardOffset);
    shot->setSpeed(dSpeed + kProjectileSpeedBonus);
    pContainer->sound().play(Sound::LaserShot, shot->getPos(0), shot->getPos(1), shot->getPos(2));
}
