// Flying the player's ship: thrust and its limits, the turn-rate ramp, the order of turns, the
// two guns and their cadence, losing the controls, and the star sky dragged along.
#include "game/PlayerShip.h"
#include "tests/support/WorldFixture.h"

#include <memory>

using testsupport::expectSameMatrix;
using testsupport::expectVector;
using testsupport::ProbeElement;
using testsupport::WorldTest;

namespace {

class PlayerShipTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        sky = std::make_unique<ProbeElement>(world, "sky", nullptr);
        ship = std::make_unique<PlayerShip>(world, sky.get());
    }
    void TearDown() override {
        ship.reset();
        sky.reset();
        WorldTest::TearDown();
    }

    std::unique_ptr<ProbeElement> sky;
    std::unique_ptr<PlayerShip> ship;
};

} // namespace

TEST_F(PlayerShipTest, ThrustIsUsedUpByOneUpdateAndSpeedStaysBetweenZeroAndTen) {
    ship->setThrust(1);
    ship->update(0.5);
    EXPECT_DOUBLE_EQ(ship->getSpeed(), 0.5);
    expectVector(*ship, &Element3D::getPos, 0, 0, -0.25f);
    // Without a new command the ship coasts at its speed.
    ship->update(2.0);
    EXPECT_DOUBLE_EQ(ship->getSpeed(), 0.5);
    expectVector(*ship, &Element3D::getPos, 0, 0, -1.25f);

    const struct {
        double speed;
        int thrust;
        double time, expected;
    } limits[] = {{0.5, -1, 1.0, 0.0}, {10.0, 1, 1.0, 10.0}, {0.0, 1, 10.0, 10.0}};
    for (const auto& l : limits) {
        ship->setSpeed(l.speed);
        ship->setThrust(l.thrust);
        ship->update(l.time);
        EXPECT_DOUBLE_EQ(ship->getSpeed(), l.expected) << l.speed << " with thrust " << l.thrust;
    }
}

TEST_F(PlayerShipTest, TurnRateRampsToFiveInOneAndAHalfSecondsAndDropsBackAtOnce) {
    EXPECT_EQ(ship->getTurnRate(), 0.5);
    ship->rampTurnRate(0.5);
    EXPECT_EQ(ship->getTurnRate(), 2.0);
    ship->rampTurnRate(0.99);
    EXPECT_NEAR(ship->getTurnRate(), 4.97, 1e-9) << "just short of the limit";
    ship->rampTurnRate(0.02);
    EXPECT_EQ(ship->getTurnRate(), 5.0);
    ship->resetTurnRate();
    EXPECT_DOUBLE_EQ(ship->getTurnRate(), 0.5);
}

TEST_F(PlayerShipTest, EachTurnKeyTurnsTheWayThePilotExpectsOnce) {
    // 0.5 degrees per time unit for 180 time units: a quarter turn.
    const struct {
        void (PlayerShip::*input)(int);
        float (Element3D::*axis)(int) const;
        float x, y, z;
    } keys[] = {{&PlayerShip::setYawInput, &Element3D::getView, -1, 0, 0},  // S turns left
                {&PlayerShip::setPitchInput, &Element3D::getView, 0, 1, 0}, // D raises the nose
                {&PlayerShip::setRollInput, &Element3D::getUp, 1, 0, 0}};   // R rolls right
    for (const auto& k : keys) {
        ship->resetOrientation();
        (ship.get()->*k.input)(1);
        ship->update(180.0);
        ship->update(180.0); // commands are used up: the next update does not turn
        expectVector(*ship, k.axis, k.x, k.y, k.z);
    }
}

TEST_F(PlayerShipTest, YawComesBeforePitchBeforeRollInOneUpdate) {
    ship->rampTurnRate(1.5); // 5 degrees per time unit
    ship->setRollInput(-1);
    ship->setPitchInput(1);
    ship->setYawInput(1);
    ship->update(6.0); // 30 degrees about each axis

    ProbeElement reference(world, "reference", nullptr);
    reference.yaw(30.0f);
    reference.pitch(30.0f);
    reference.roll(-30.0f);
    expectSameMatrix(*ship, reference); // any other order ends elsewhere
}

TEST_F(PlayerShipTest, TheSkyStaysCentredOnTheShipAndAShipWithoutSkyStillFlies) {
    sky->setPos(500.0f, -20.0f, 7.0f);
    ship->setPos(10.0f, 20.0f, 30.0f);
    ship->setSpeed(4.0);
    ship->update(1.0);
    expectVector(*ship, &Element3D::getPos, 10, 20, 26);
    expectVector(*sky, &Element3D::getPos, 10, 20, 26);

    PlayerShip lonely(world, nullptr);
    EXPECT_EQ(world->getPlayer(), &lonely);
    lonely.setSpeed(2.0);
    lonely.update(1.0);
    expectVector(lonely, &Element3D::getPos, 0, 0, -2);
}

TEST_F(PlayerShipTest, BelowZeroHealthOrAnEndedLevelTakesTheShipOutForGood) {
    ship->setHealth(0.0f);
    ship->update(1.0);
    EXPECT_TRUE(ship->isActive()) << "zero still collides";
    ship->hit(0.5f);
    ship->update(1.0);
    EXPECT_FALSE(ship->isActive());
    // Nothing brings it back, and the wreck drifts on at its last speed.
    ship->setHealth(300.0f);
    ship->setSpeed(3.0);
    ship->update(1.0);
    EXPECT_FALSE(ship->isActive());
    expectVector(*ship, &Element3D::getPos, 0, 0, -3);

    PlayerShip winner(world, sky.get());
    world->setLevelEnded();
    winner.setSpeed(5.0);
    winner.update(2.0);
    EXPECT_FALSE(winner.isActive());
    expectVector(*sky, &Element3D::getPos, 0, 0, -10); // the sky still follows
}

TEST_F(PlayerShipTest, ShotsAlternateBetweenTheGunsAtMostOnceInTenTimeUnitsFromTheStart) {
    ship->yaw(90.0f); // view (-1, 0, 0), right (0, 0, -1)
    ship->setPos(100.0f, 0.0f, 0.0f);
    ship->setSpeed(10.0);
    ship->update(9.5);
    ship->fire();
    EXPECT_EQ(world->size(), 0u) << "the guns are cold for the first ten time units";
    ship->update(0.5); // the ship moves to x = 0 and the guns are ready
    ASSERT_NEAR(ship->getPos(0), 0.0f, 1e-4);

    ship->fire();
    ship->fire(); // too soon: no second shot
    ASSERT_EQ(world->size(), 1u);
    Object3D* right = all()[0];
    EXPECT_DOUBLE_EQ(right->getSpeed(), 60.0);
    // Right gun: 20 along the right axis, 20 ahead.
    expectVector(*right, &Element3D::getPos, -20, 0, -20);
    expectSameMatrix(*right, *ship);

    ship->setSpeed(0.0);
    ship->update(9.9);
    ship->fire();
    EXPECT_EQ(world->size(), 1u);
    ship->update(0.1);
    ship->fire();
    ASSERT_EQ(world->size(), 2u);
    Object3D* left = all()[0]; // filed at the front
    EXPECT_DOUBLE_EQ(left->getSpeed(), 50.0);
    expectVector(*left, &Element3D::getPos, -20, 0, 20);
    EXPECT_TRUE(ship->isRightGunNext());
}
