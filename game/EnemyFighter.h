// An enemy fighter: waits until the player comes near, attacks and fires sausages, breaks away
// when close, and flees while its shield is down. All fighters share one behaviour state.
#pragma once

#include "world/Object3D.h"

class EnemyFighter : public Object3D {
public:
    // Behaviour states, shared by every fighter.
    static constexpr int kStateIdle = 0;
    static constexpr int kStateAttack = 1;
    static constexpr int kStateFlee = 2;
    // Attack sub-states.
    static constexpr int kAttackApproach = 0;
    static constexpr int kAttackBreakAway = 1;

    static constexpr float kHealth = 100.0f;
    static constexpr float kRadius = 40.0f;       // world units; the shield gets the same
    static constexpr double kMaxSpeed = 7.0;      // world units per time unit
    static constexpr float kShotInterval = 30.0f; // time units between two shots at least
    // Time units until the first replacement shield, and until every later one.
    static constexpr float kFirstShieldDelay = 500.0f;
    static constexpr float kShieldDelay = 150.0f;
    // The shield regrows by one health point per time unit up to this.
    static constexpr float kShieldFullHealth = 200.0f;

    EnemyFighter(ElementContainer* container, const char* modelFile);

    void update(double t) override;
    void init() override;
    // Launches one sausage straight ahead, if the last shot is long enough ago.
    void fire();

    float getShotTimer() const { return fShotTimer; }
    void setShotTimer(float timer) { fShotTimer = timer; }
    float getShieldTimer() const { return fShieldTimer; }

    // The behaviour state all fighters share; it outlives every fighter.
    static int getState() { return iState; }
    static int getAttackState() { return iAttackState; }
    static double getEscapePoint(int i) { return dEscapePoint[i]; }
    // Back to idle, approach and no escape point, as at program start: for a new game, and for
    // tests that must not inherit the state an earlier one left.
    static void resetSharedState();
    // Whether this build writes the per-frame state lines ("State 0\n" and the others).
    static bool logsStates();

private:
    void attack(const Element3D& player);
    void flee(const Element3D& player);

    float fShotTimer = 0.0f;
    float fShieldTimer = kFirstShieldDelay;

    static int iState;
    static int iAttackState;
    static double dEscapePoint[3];
};
