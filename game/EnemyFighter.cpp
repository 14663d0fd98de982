// Enemy fighters: the shield cycle, the shared idle/attack/flee state machine with its approach
// and break-away sub-states, speed control and firing.
#include "game/EnemyFighter.h"

#include "platform/Platform.h"
#include "world/ElementContainer.h"

// The per-frame state lines flood the debug channel (one per fighter and frame), so they are
// only written by builds configured with OMBRELIX_ENEMY_STATE_LOG.
#ifndef OMBRELIX_ENEMY_STATE_LOG
#define OMBRELIX_ENEMY_STATE_LOG 0
#endif

namespace {

const bool kStateLog = OMBRELIX_ENEMY_STATE_LOG != 0;

// Squared distances to the player, in square world units.
const double kWakeDistanceSquared = 1000.0 * 1000.0;    // idle -> attack below this
const double kBreakAwayDistanceSquared = 500.0 * 500.0; // approach -> break away at or below
const double kReturnDistanceSquared = 700.0 * 700.0;    // break away -> approach above this
const double kApproachThrustDistanceSquared = 300.0 * 300.0;
const double kBreakAwayThrustDistanceSquared = 200.0 * 200.0;

// Degrees per update (not per time unit: the turn rate follows the frame rate).
const float kApproachTurn = 1.0f;
const float kBreakAwayTurn = 0.5f;
const float kFleeTurn = 1.0f;
// Angles in degrees between the view axis and the target.
const double kApproachThrustAngle = 45.0;
const double kBreakAwayThrustAngle = 90.0;
const double kFiringAngle = 5.0;

const float kEscapeDistance = 300.0f; // world units behind the fighter when it breaks away
const float kFleeFactor = 2.0f;       // flee toward twice the offset from the player
// A shield above this health sends a fleeing fighter back to the attack.
const float kShieldRallyHealth = 50.0f;

const float kShotLead = 10.0f;  // world units between the fighter's sphere and a new shot
const double kShotSpeed = 50.0; // world units per time unit on top of the fighter's speed
const float kRadarYellow[3] = {1.0f, 1.0f, 0.0f};

void stateLine(const char* line) {
    if (kStateLog) {
        platform::debugOutput(line);
    }
}

} // namespace

int EnemyFighter::iState = EnemyFighter::kStateIdle;
int EnemyFighter::iAttackState = EnemyFighter::kAttackApproach;
double EnemyFighter::dEscapePoint[3] = {0.0, 0.0, 0.0};

void EnemyFighter::resetSharedState() {
    iState = kStateIdle;
    iAttackState = kAttackApproach;
    dEscapePoint[0] = dEscapePoint[1] = dEscapePoint[2] = 0.0;
}

bool EnemyFighter::logsStates() {
    return kStateLog;
}

EnemyFighter::EnemyFighter(ElementContainer* container, const char* modelFile)
    : Object3D(container) {
    setModelFile(modelFile);
    init();
}

void EnemyFighter::init() {
    fHealth = kHealth;
    fShotTimer = 0.0f;
    fShieldTimer = kFirstShieldDelay;
    fRadius = kRadius;
    dMaxSpeed = kMaxSpeed;
    bActive = false; // the shield takes the hits while it lasts
    pModel = loadModel(getModelFile().c_str(), kKindFighter);
    createDisplayList();
    pShield = createShield(fRadius);
    for (int i = 0; i < 3; ++i) {
        fRadarColor[i] = kRadarYellow[i];
    }
}

void EnemyFighter::update(double t) {
    const float dt = static_cast<float>(t);
    if (!bActive && pShield != nullptr) {
        pShield->setPos(fPos[0], fPos[1], fPos[2]);
    }

    if (pShield != nullptr) {
        float health = pShield->getHealth() + dt;
        if (health > kShieldFullHealth) {
            health = kShieldFullHealth;
        }
        pShield->setHealth(health);
    } else {
        fShieldTimer -= dt;
        if (fShieldTimer <= 0.0f) {
            bActive = false;
            pShield = createShield(fRadius);
            fShieldTimer = kShieldDelay;
            pContainer->sound().play(Sound::ShieldRise, fPos[0], fPos[1], fPos[2]);
        }
    }

    fShotTimer += dt;

    // Without a player there is nobody to wait for, attack or flee from.
    const Element3D* player = pContainer->getPlayer();
    if (player != nullptr) {
        // Read once: a state written here is acted on from the next update on, by every fighter.
        switch (iState) {
        case kStateIdle:
            stateLine("State 0\n");
            setThrust(-1);
            if (getDistanceToPlayerSquared() < kWakeDistanceSquared) {
                iState = kStateAttack;
            }
            break;
        case kStateAttack:
            stateLine("State 1\n");
            if (pShield == nullptr || pShield->getHealth() < 0.0f) {
                iState = kStateFlee;
            } else {
                attack(*player);
            }
            break;
        case kStateFlee:
            stateLine("State 2\n");
            if (pShield != nullptr && pShield->getHealth() > kShieldRallyHealth) {
                iState = kStateAttack;
            } else {
                flee(*player);
            }
            break;
        default:
            break;
        }
    }

    applyThrust(t);
    moveForward(static_cast<float>(t * dSpeed));
}

void EnemyFighter::attack(const Element3D& player) {
    const double distanceSquared = getDistanceToPlayerSquared();
    if (iAttackState == kAttackApproach) {
        stateLine("iAttackState 0\n");
        const double left =
            turnTowards(kApproachTurn, player.getPos(0), player.getPos(1), player.getPos(2));
        if (left < kApproachThrustAngle && distanceSquared > kApproachThrustDistanceSquared) {
            setThrust(1);
        } else {
            setThrust(-1);
        }
        if (left < kFiringAngle) {
            fire();
        }
        if (distanceSquared <= kBreakAwayDistanceSquared) {
            // Head for a point behind us, along the line we came in on.
            for (int i = 0; i < 3; ++i) {
                dEscapePoint[i] = fPos[i] - kEscapeDistance * getView(i);
            }
            iAttackState = kAttackBreakAway;
        }
    } else if (iAttackState == kAttackBreakAway) {
        stateLine("iAttackState 1\n");
        const double left =
            turnTowards(kBreakAwayTurn, static_cast<float>(dEscapePoint[0]),
                        static_cast<float>(dEscapePoint[1]), static_cast<float>(dEscapePoint[2]));
        if (left < kBreakAwayThrustAngle && distanceSquared > kBreakAwayThrustDistanceSquared) {
            setThrust(1);
        } else {
            setThrust(-1);
        }
        if (distanceSquared > kReturnDistanceSquared) {
            iAttackState = kAttackApproach;
        }
    }
}

void EnemyFighter::flee(const Element3D& player) {
    // The point turned toward is twice the offset from the player, taken as an absolute
    // position: away from the player while both are near the origin.
    turnTowards(kFleeTurn, kFleeFactor * (fPos[0] - player.getPos(0)),
                kFleeFactor * (fPos[1] - player.getPos(1)),
                kFleeFactor * (fPos[2] - player.getPos(2)));
    setThrust(1);
}

void EnemyFighter::fire() {
    if (fShotTimer < kShotInterval) {
        return;
    }
    Object3D* shot = pContainer->addElement(kKindWurst);
    shot->setMatrix(fMatrix);
    const float ahead = fRadius + kShotLead;
    shot->setPos(fPos[0] + ahead * getView(0), fPos[1] + ahead * getView(1),
                 fPos[2] + ahead * getView(2));
    shot->setSpeed(dSpeed + kShotSpeed);
    fShotTimer = 0.0f;
    pContainer->sound().play(Sound::EnemyShot, shot->getPos(0), shot->getPos(1), shot->getPos(2));
}
