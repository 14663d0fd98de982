// Enemy fighters: waking, approaching, firing, breaking away and fleeing; the shield cycle with
// its timers; speed limits; and two fighters sharing one behaviour state.
#include "game/EnemyFighter.h"
#include "game/Shield.h"
#include "game/Wurst.h"
#include "tests/game/GameWorldTest.h"

#include <cmath>

using gametest::GameWorldTest;
using testsupport::DebugCapture;

namespace {

class EnemyFighterTest : public GameWorldTest {
protected:
    EnemyFighter* fighterAt(float z, bool facingPlayer) {
        auto* fighter = static_cast<EnemyFighter*>(world->addElement(kKindFighter));
        fighter->setPos(0, 0, z);
        if (facingPlayer) {
            fighter->yaw(180); // the view axis turns from -z to +z, toward the origin
        }
        return fighter;
    }
    Shield* shieldOf(EnemyFighter* fighter) { return static_cast<Shield*>(fighter->getShield()); }
    static void breakShield(EnemyFighter* fighter) {
        fighter->getShield()->hit(fighter->getShield()->getHealth());
    }
    // Degrees between the fighter's view axis and the direction to the point.
    static double angleTo(const Element3D& e, double x, double y, double z) {
        const double d[3] = {x - e.getPos(0), y - e.getPos(1), z - e.getPos(2)};
        const double length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        const double dot = (e.getView(0) * d[0] + e.getView(1) * d[1] + e.getView(2) * d[2]);
        return std::acos(std::fmax(-1.0, std::fmin(1.0, dot / length))) * 180.0 / M_PI;
    }
};

} // namespace

TEST_F(EnemyFighterTest, AFighterIsBornBehindItsShieldAndWakesForAPlayerInsideAThousand) {
    EnemyFighter* fighter = fighterAt(-1000, false);
    ASSERT_NE(shieldOf(fighter), nullptr);
    EXPECT_EQ(shieldOf(fighter)->getOwner(), fighter);
    EXPECT_FALSE(fighter->isActive()) << "its shield takes the hits";

    fighter->setSpeed(3.0);
    fighter->update(1.0);
    EXPECT_EQ(EnemyFighter::getState(), EnemyFighter::kStateIdle) << "exactly 1000 is not near";
    EXPECT_DOUBLE_EQ(fighter->getSpeed(), 2.0) << "an idle fighter slows down";
    fighter->setPos(0, 0, -999);
    fighter->update(1.0);
    EXPECT_EQ(EnemyFighter::getState(), EnemyFighter::kStateAttack);
}

TEST_F(EnemyFighterTest, AnApproachAcceleratesWhileFarAndBrakesWhenNear) {
    EnemyFighter* fighter = fighterAt(-800, true);
    fighter->update(1.0); // wakes
    fighter->setSpeed(3.0);
    fighter->update(1.0);
    EXPECT_DOUBLE_EQ(fighter->getSpeed(), 4.0) << "pointing at a player 800 away: full ahead";
    EXPECT_EQ(EnemyFighter::getAttackState(), EnemyFighter::kAttackApproach);

    fighter->setPos(0, 0, -250);
    fighter->update(1.0);
    EXPECT_DOUBLE_EQ(fighter->getSpeed(), 3.0) << "nearer than 300: brakes";
    EXPECT_EQ(EnemyFighter::getAttackState(), EnemyFighter::kAttackBreakAway);
    // The escape point lies 300 behind, along the line it came in on.
    EXPECT_NEAR(EnemyFighter::getEscapePoint(2), fighter->getPos(2) - 3.0 - 300.0, 1e-3);
}

TEST_F(EnemyFighterTest, ABreakAwayTurnsHalfADegreeAndReturnsBeyondSevenHundred) {
    EnemyFighter* fighter = fighterAt(-450, true);
    fighter->update(1.0); // wakes
    fighter->update(1.0); // within 500: breaks away toward a point behind it
    ASSERT_EQ(EnemyFighter::getAttackState(), EnemyFighter::kAttackBreakAway);
    const double ex = EnemyFighter::getEscapePoint(0);
    const double ey = EnemyFighter::getEscapePoint(1);
    const double ez = EnemyFighter::getEscapePoint(2);
    fighter->yaw(30); // off the straight line, so the turn is measurable
    const double before = angleTo(*fighter, ex, ey, ez);
    fighter->setSpeed(0.0);
    fighter->update(1.0);
    EXPECT_NEAR(before - angleTo(*fighter, ex, ey, ez), 0.5, 1e-2);
    EXPECT_DOUBLE_EQ(fighter->getSpeed(), 0.0) << "the escape point lies behind it: no thrust";

    fighter->setPos(0, 0, -701);
    fighter->update(1.0);
    EXPECT_EQ(EnemyFighter::getAttackState(), EnemyFighter::kAttackApproach);
}

TEST_F(EnemyFighterTest, AShotLeavesOnlyOnceThirtyUnitsHavePassed) {
    EnemyFighter* fighter = fighterAt(-600, false);
    fighter->setSpeed(5.0);
    fighter->setShotTimer(29.9f);
    fighter->fire();
    EXPECT_EQ(count<Wurst>(), 0);
    EXPECT_FLOAT_EQ(fighter->getShotTimer(), 29.9f);

    fighter->setShotTimer(30.0f);
    fighter->fire();
    std::vector<Wurst*> shots = all<Wurst>();
    ASSERT_EQ(shots.size(), 1u);
    EXPECT_FLOAT_EQ(fighter->getShotTimer(), 0.0f);
    EXPECT_FLOAT_EQ(shots[0]->getPos(2), -650.0f) << "50 ahead of a fighter of radius 40";
    EXPECT_DOUBLE_EQ(shots[0]->getSpeed(), 55.0);
    testsupport::expectSameMatrix(*shots[0], *fighter);
}

TEST_F(EnemyFighterTest, AnAttackerOnTargetFiresEveryThirtyUnits) {
    EnemyFighter* fighter = fighterAt(-990, true);
    std::vector<int> shotAt;
    for (int update = 1; update <= 62; ++update) {
        fighter->update(1.0);
        if (count<Wurst>() > static_cast<int>(shotAt.size())) {
            shotAt.push_back(update);
        }
    }
    EXPECT_EQ(shotAt, (std::vector<int>{30, 60}));
    EXPECT_FLOAT_EQ(fighter->getShotTimer(), 2.0f);
    EXPECT_DOUBLE_EQ(fighter->getSpeed(), 7.0) << "accelerated to its limit and held there";
    EXPECT_EQ(EnemyFighter::getAttackState(), EnemyFighter::kAttackApproach);
}

TEST_F(EnemyFighterTest, AFighterFacingAwayHoldsItsFire) {
    EnemyFighter* fighter = fighterAt(-900, false);
    for (int update = 0; update < 40; ++update) {
        fighter->update(1.0);
    }
    EXPECT_EQ(count<Wurst>(), 0) << "turning one degree per update, it is still far off target";
}

TEST_F(EnemyFighterTest, SpeedStaysBetweenRestAndTheLimit) {
    EnemyFighter* fighter = fighterAt(-900, false);
    fighter->update(1.0); // wakes
    breakShield(fighter);
    fighter->update(1.0); // no shield: flees from now on
    ASSERT_EQ(EnemyFighter::getState(), EnemyFighter::kStateFlee);
    std::vector<double> speeds;
    for (int i = 0; i < 9; ++i) {
        fighter->update(1.0);
        speeds.push_back(fighter->getSpeed());
    }
    EXPECT_EQ(speeds, (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 7, 7}));

    EnemyFighter::resetSharedState();
    player->setPos(100000, 0, 0); // far out of sight: idle
    speeds.clear();
    for (int i = 0; i < 9; ++i) {
        fighter->update(1.0);
        speeds.push_back(fighter->getSpeed());
    }
    EXPECT_EQ(speeds, (std::vector<double>{6, 5, 4, 3, 2, 1, 0, 0, 0}));
}

TEST_F(EnemyFighterTest, TheShieldFollowsAndRegrowsToTwoHundred) {
    EnemyFighter* fighter = fighterAt(-5000, false);
    Shield* shield = shieldOf(fighter);
    fighter->setSpeed(5.0);
    fighter->update(1.0);
    EXPECT_FLOAT_EQ(shield->getPos(2), -5000.0f) << "placed where the fighter was";
    EXPECT_FLOAT_EQ(fighter->getPos(2), -5004.0f);
    fighter->update(1.0);
    EXPECT_FLOAT_EQ(shield->getPos(2), -5004.0f);

    shield->setHealth(100.0f);
    fighter->update(1.0);
    EXPECT_FLOAT_EQ(shield->getHealth(), 101.0f);
    shield->setHealth(199.5f);
    fighter->update(1.0);
    EXPECT_FLOAT_EQ(shield->getHealth(), 200.0f);
}

TEST_F(EnemyFighterTest, ANewShieldComesFiveHundredUnitsAfterTheFirstBreaksThenEveryHundredFifty) {
    EnemyFighter* fighter = fighterAt(-900, true);
    fighter->update(1.0); // wakes
    breakShield(fighter);
    EXPECT_TRUE(fighter->isActive()) << "open to hits";
    fighter->update(1.0);
    EXPECT_EQ(EnemyFighter::getState(), EnemyFighter::kStateFlee);
    for (int i = 1; i < 499; ++i) {
        fighter->update(1.0);
    }
    EXPECT_EQ(fighter->getShield(), nullptr) << "499 units after the break";
    EXPECT_EQ(EnemyFighter::getState(), EnemyFighter::kStateFlee);
    fighter->update(1.0);
    Shield* second = shieldOf(fighter);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->getOwner(), fighter);
    EXPECT_FALSE(fighter->isActive());
    EXPECT_FLOAT_EQ(second->getHealth(), 200.0f);
    EXPECT_FLOAT_EQ(fighter->getShieldTimer(), 150.0f);
    EXPECT_EQ(EnemyFighter::getState(), EnemyFighter::kStateAttack) << "a full shield: back";

    breakShield(fighter);
    for (int i = 1; i < 150; ++i) {
        fighter->update(1.0);
    }
    EXPECT_EQ(fighter->getShield(), nullptr);
    fighter->update(1.0);
    EXPECT_NE(fighter->getShield(), nullptr) << "150 units after a later break";
}

TEST_F(EnemyFighterTest, TwoFightersShareOneStateAndOneEscapePoint) {
    EnemyFighter* near = fighterAt(-900, true);
    EnemyFighter* far = fighterAt(-5000, false);
    near->update(1.0);
    ASSERT_EQ(EnemyFighter::getState(), EnemyFighter::kStateAttack);

    const double farBefore = angleTo(*far, 0, 0, 0);
    far->update(1.0); // far away, yet attacking: it turns toward the player
    EXPECT_NEAR(farBefore - angleTo(*far, 0, 0, 0), 1.0, 1e-2);

    near->setPos(0, 0, -400);
    near->update(1.0); // within 500: the escape point is set for both
    ASSERT_EQ(EnemyFighter::getAttackState(), EnemyFighter::kAttackBreakAway);
    const double ex = EnemyFighter::getEscapePoint(0);
    const double ey = EnemyFighter::getEscapePoint(1);
    const double ez = EnemyFighter::getEscapePoint(2);
    const double towardEscape = angleTo(*far, ex, ey, ez);
    far->update(1.0);
    EXPECT_NEAR(towardEscape - angleTo(*far, ex, ey, ez), 0.5, 1e-2)
        << "the far fighter heads for the near one's escape point";
    EXPECT_EQ(EnemyFighter::getAttackState(), EnemyFighter::kAttackApproach)
        << "and, being beyond 700, sends both back to the approach";
}

TEST_F(EnemyFighterTest, PerFrameStateLinesOnlyInBuildsThatAskForThem) {
    EnemyFighter* fighter = fighterAt(-900, true);
    DebugCapture log;
    fighter->update(1.0);
    fighter->update(1.0);
    EXPECT_EQ(log.contains("State 0\n"), EnemyFighter::logsStates());
    EXPECT_EQ(log.contains("State 1\niAttackState 0\n"), EnemyFighter::logsStates());
}
