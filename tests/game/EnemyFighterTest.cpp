// Enemy fighters at every edge of their behaviour: waking, approaching, firing, breaking away,
// fleeing and rallying; the shield cycle; speed limits; one state shared by all; the state lines.
#include "game/EnemyFighter.h"
#include "game/Shield.h"
#include "game/Wurst.h"
#include "tests/game/GameWorldTest.h"

#include <cmath>

using gametest::GameWorldTest;

namespace {

class EnemyFighterTest : public GameWorldTest {
protected:
    // A fighter at (0, 0, -distance); turned by `yaw` degrees from the default view along -z, so
    // 180 faces the player at the origin.
    EnemyFighter* fighterAt(float distance, float yaw) {
        auto* fighter = static_cast<EnemyFighter*>(world->addElement(kKindFighter));
        place(fighter, distance, yaw);
        return fighter;
    }
    static void place(EnemyFighter* fighter, float distance, float yaw) {
        fighter->resetOrientation();
        fighter->setPos(0, 0, -distance);
        fighter->yaw(yaw);
    }
    // The thrust one update of a time unit gives, read from the speed (3 before).
    static double thrustOf(EnemyFighter* fighter) {
        fighter->setSpeed(3.0);
        fighter->update(1.0);
        return fighter->getSpeed() - 3.0;
    }
    static void breakShield(EnemyFighter* fighter) {
        fighter->getShield()->hit(fighter->getShield()->getHealth());
    }
    // Degrees between the fighter's view axis and the direction to the point.
    static double angleTo(const Element3D& e, double x, double y, double z) {
        const double d[3] = {x - e.getPos(0), y - e.getPos(1), z - e.getPos(2)};
        const double dot = e.getView(0) * d[0] + e.getView(1) * d[1] + e.getView(2) * d[2];
        return std::acos(dot / std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2])) * 180.0 / M_PI;
    }
};

} // namespace

TEST_F(EnemyFighterTest, AFighterIsBornBehindItsShieldAndWakesForAPlayerInsideAThousand) {
    EnemyFighter* fighter = fighterAt(1000, 0);
    ASSERT_NE(fighter->getShield(), nullptr);
    EXPECT_EQ(static_cast<Shield*>(fighter->getShield())->getOwner(), fighter);
    EXPECT_FALSE(fighter->isActive()) << "its shield takes the hits";
    EXPECT_EQ(thrustOf(fighter), -1.0) << "an idle fighter slows down";
    fighter->setSpeed(0.5);
    fighter->update(1.0);
    EXPECT_EQ(fighter->getSpeed(), 0.0) << "down to rest, not below";
    EXPECT_EQ(EnemyFighter::getState(), EnemyFighter::kStateIdle) << "exactly 1000 is not near";
    place(fighter, 999.99f, 0);
    fighter->update(0.0);
    EXPECT_EQ(EnemyFighter::getState(), EnemyFighter::kStateAttack);
}

TEST_F(EnemyFighterTest, TheApproachSpeedsUpFiresAndBreaksAwayEachAtItsEdge) {
    const struct {
        float distance, off; // degrees off the player before this update's one-degree turn
        double thrust;
        bool fires, breaksAway;
    } cases[] = {
        {800, 45.99f, 1, false, false},  // 44.99 left after the turn: full ahead
        {800, 46.01f, -1, false, false}, // 45.01 left: brakes
        {300.01f, 0, 1, true, true},     {300, 0, -1, true, true}, // at 300 it brakes
        {800, 5.99f, 1, true, false},                              // 4.99 left: on target
        {800, 6.01f, 1, false, false},   {500.01f, 0, 1, true, false},
        {500, 0, 1, true, true}, // at 500 it breaks away
    };
    for (const auto& c : cases) {
        EnemyFighter::resetSharedState();
        EnemyFighter* fighter = fighterAt(c.distance, 180 + c.off);
        fighter->update(0.0);         // wakes
        fighter->setShotTimer(29.0f); // 30 after this update's time unit
        const int shots = count<Wurst>();
        EXPECT_EQ(thrustOf(fighter), c.thrust) << c.distance << " away, " << c.off << " off";
        EXPECT_EQ(count<Wurst>() - shots, c.fires ? 1 : 0) << c.distance << ", " << c.off;
        EXPECT_EQ(EnemyFighter::getAttackState() == EnemyFighter::kAttackBreakAway, c.breaksAway)
            << c.distance << ", " << c.off;
    }
    // The last one broke away toward the point 300 behind it, on the line it came in on.
    EXPECT_DOUBLE_EQ(EnemyFighter::getEscapePoint(2), -800.0);
    EXPECT_NEAR(EnemyFighter::getEscapePoint(0), 0.0, 1e-3);
}

TEST_F(EnemyFighterTest,
       ABreakAwaySpeedsUpOnlyWhileTurnedAwayAndClearAndReturnsBeyondSevenHundred) {
    const struct {
        float distance, off; // degrees off the escape point before the half-degree turn
        double thrust;
        bool returns;
    } cases[] = {
        {400, 90.49f, 1, false}, // 89.99 left: full ahead
        {400, 90.51f, -1, false}, {200.01f, 0, 1, false}, {200, 0, -1, false},
        {700, 0, 1, false},       {700.01f, 0, 1, true},
    };
    for (const auto& c : cases) {
        EnemyFighter::resetSharedState();
        EnemyFighter* fighter = fighterAt(500, 180);
        fighter->update(0.0); // wakes
        fighter->update(0.0); // at 500: breaks away toward (0, 0, -800)
        ASSERT_EQ(EnemyFighter::getAttackState(), EnemyFighter::kAttackBreakAway);
        place(fighter, c.distance, c.off); // the escape point lies along -z
        EXPECT_EQ(thrustOf(fighter), c.thrust) << c.distance << " away, " << c.off << " off";
        EXPECT_EQ(EnemyFighter::getAttackState() == EnemyFighter::kAttackApproach, c.returns)
            << c.distance;
    }
}

TEST_F(EnemyFighterTest, AFighterWithoutShieldFleesTowardTwiceItsOffsetFromThePlayer) {
    player->setPos(300, 200, 0);
    EnemyFighter* fighter = fighterAt(500, -90);
    fighter->pitch(40);   // looking right and up, along no axis
    fighter->update(0.0); // wakes
    breakShield(fighter);
    EXPECT_TRUE(fighter->isActive()) << "open to hits";
    fighter->update(0.0);
    ASSERT_EQ(EnemyFighter::getState(), EnemyFighter::kStateFlee);

    // 2 x ((0, 0, -500) - (300, 200, 0)), as a place: away from the player, not straight away.
    const float view[3] = {fighter->getView(0), fighter->getView(1), fighter->getView(2)};
    const double d[3] = {-600, -400, -500}; // from the fighter to that place
    const double before = angleTo(*fighter, -600, -400, -1000);
    fighter->update(0.0);
    EXPECT_NEAR(before - angleTo(*fighter, -600, -400, -1000), 1.0, 1e-3);
    // Turned in the plane of its old view and that direction: no sideways part.
    const double normal[3] = {view[1] * d[2] - view[2] * d[1], view[2] * d[0] - view[0] * d[2],
                              view[0] * d[1] - view[1] * d[0]};
    double sideways = 0.0;
    for (int i = 0; i < 3; ++i) {
        sideways += fighter->getView(i) * normal[i];
    }
    EXPECT_NEAR(sideways, 0.0, 1e-2);
    EXPECT_EQ(thrustOf(fighter), 1.0);
    const double distance = fighter->getDistanceToPlayerSquared();
    for (int i = 0; i < 100; ++i) {
        fighter->update(1.0);
    }
    EXPECT_GT(fighter->getDistanceToPlayerSquared(), distance) << "it flees away";
    EXPECT_EQ(fighter->getSpeed(), 7.0) << "at its top speed, not beyond";
}

TEST_F(EnemyFighterTest, ShieldHealthAbove50SendsAFleeingFighterBackAndBelow0SendsItOff) {
    // Each update first lets the shield regrow by its time.
    const struct {
        bool fleeing;
        float health;
        bool fleesAfter;
    } cases[] = {
        {true, 49.0f, true}, {true, 49.01f, false}, {false, -1.0f, false}, {false, -1.01f, true}};
    EnemyFighter* fighter = fighterAt(900, 180);
    Object3D* shield = fighter->getShield();
    for (const auto& c : cases) {
        EnemyFighter::resetSharedState();
        fighter->update(0.0); // wakes, attacking
        if (c.fleeing) {
            fighter->setShield(nullptr);
            fighter->update(0.0);
            ASSERT_EQ(EnemyFighter::getState(), EnemyFighter::kStateFlee);
        }
        fighter->setShield(shield);
        shield->setHealth(c.health);
        fighter->update(1.0);
        EXPECT_EQ(EnemyFighter::getState() == EnemyFighter::kStateFlee, c.fleesAfter) << c.health;
    }
}

TEST_F(EnemyFighterTest, AShotLeavesOnlyOnceThirtyUnitsHavePassed) {
    EnemyFighter* fighter = fighterAt(600, 0);
    fighter->setSpeed(5.0);
    fighter->setShotTimer(29.9f);
    fighter->fire();
    EXPECT_EQ(count<Wurst>(), 0);
    fighter->setShotTimer(30.0f);
    fighter->fire();
    ASSERT_EQ(count<Wurst>(), 1);
    const Wurst* shot = all<Wurst>()[0];
    EXPECT_EQ(fighter->getShotTimer(), 0.0f);
    EXPECT_FLOAT_EQ(shot->getPos(2), -650.0f) << "50 ahead of a fighter of radius 40";
    EXPECT_DOUBLE_EQ(shot->getSpeed(), 55.0);
    testsupport::expectSameMatrix(*shot, *fighter);
}

TEST_F(EnemyFighterTest, TheShieldFollowsRegrowsToTwoHundredAndComesBackAfter500ThenEvery150) {
    EnemyFighter* fighter = fighterAt(5000, 0);
    Shield* shield = static_cast<Shield*>(fighter->getShield());
    fighter->setSpeed(5.0);
    fighter->update(1.0);
    fighter->update(1.0);
    EXPECT_FLOAT_EQ(shield->getPos(2), -5004.0f) << "placed where the fighter was";
    shield->setHealth(199.5f);
    fighter->update(1.0);
    EXPECT_FLOAT_EQ(shield->getHealth(), 200.0f);

    for (int delay : {500, 150}) { // after the first break, then after a later one
        breakShield(fighter);
        for (int i = 1; i < delay; ++i) {
            fighter->update(1.0);
        }
        EXPECT_EQ(fighter->getShield(), nullptr) << delay - 1 << " units after the break";
        fighter->update(1.0);
        ASSERT_NE(fighter->getShield(), nullptr) << delay << " units after the break";
        EXPECT_FALSE(fighter->isActive());
        EXPECT_FLOAT_EQ(fighter->getShield()->getHealth(), 200.0f);
    }
}

TEST_F(EnemyFighterTest, TwoFightersShareOneStateAndOneEscapePoint) {
    EnemyFighter* near = fighterAt(500, 180);
    EnemyFighter* far = fighterAt(5000, 0);
    near->update(0.0);
    const double before = angleTo(*far, 0, 0, 0);
    far->update(0.0); // far away, yet attacking: it turns toward the player
    EXPECT_NEAR(before - angleTo(*far, 0, 0, 0), 1.0, 1e-3);
    near->update(0.0); // at 500: the escape point is set for both
    const double towardEscape = angleTo(*far, 0, 0, -800);
    far->update(0.0);
    EXPECT_NEAR(towardEscape - angleTo(*far, 0, 0, -800), 0.5, 1e-3);
    EXPECT_EQ(EnemyFighter::getAttackState(), EnemyFighter::kAttackApproach)
        << "and, being beyond 700, sends both back to the approach";
}

TEST_F(EnemyFighterTest, StateLinesComeStateFirstAndOnlyInBuildsThatAskForThem) {
    EnemyFighter* fighter = fighterAt(500, 180);
    testsupport::DebugCapture log;
    fighter->update(0.0); // idle, wakes
    fighter->update(0.0); // approach, breaks away
    fighter->update(0.0); // break away
    breakShield(fighter);
    fighter->update(0.0); // no shield: flee
    fighter->update(0.0);
#ifdef OMBRELIX_TEST_ENEMY_STATE_LOG
    EXPECT_EQ(log.text(), "State 0\nState 1\niAttackState 0\nState 1\niAttackState 1\n"
                          "State 1\nState 2\n");
#else
    EXPECT_EQ(log.text(), "") << "a line per fighter and frame would flood the debug channel";
#endif
}
