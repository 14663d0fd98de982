// The player's craft: steered by pending commands from the key table, it turns with a rate that
// ramps up while a turn key is held, drags the star sky along and fires from two guns in turn.
#pragma once

#include "world/Element3D.h"

class PlayerShip : public Element3D {
public:
    // Registers itself as the container's player. The sky may be null (nothing is dragged).
    PlayerShip(ElementContainer* container, Element3D* sky);

    // Pending commands (-1, 0 or +1), carried out and cleared by the next update.
    void setPitchInput(int input) { iPitchInput = input; }
    void setYawInput(int input) { iYawInput = input; }
    void setRollInput(int input) { iRollInput = input; }

    // Grows the turn rate by the seconds a turn key was held, up to its maximum.
    void rampTurnRate(double seconds);
    // Back to the gentle rate of a ship with no turn key held.
    void resetTurnRate();

    // Advances the ship by t time units: controls lost on death or level end, turns, thrust,
    // movement, and the sky recentred on the ship.
    void update(double t) override;
    // Launches a laser projectile from the next gun, at most once per shot interval.
    void fire();

    double getTurnRate() const { return dTurnRate; }
    float getShotTimer() const { return fShotTimer; }
    bool isRightGunNext() const { return bRightGun; }
    Element3D* getSky() const { return pSky; }

private:
    Element3D* pSky;
    int iPitchInput = 0;
    int iYawInput = 0;
    int iRollInput = 0;
    double dMaxTurnRate;
    double dTurnRate;
    bool bRightGun = true;
    double dBaseTurnRate;
    double dTurnAcceleration;
    float fShotTimer = 0.0f;
};
