// Shots in flight: their range, the smoke trail's cadence, the burst at each hit until one destroys
// them, and the player's shots sparing the player's own ship.
#include "game/Explosion.h"
#include "game/Fugenmasse.h"
#include "game/SmokeCloud.h"
#include "game/Wurst.h"
#include "tests/game/GameWorldTest.h"

using gametest::GameWorldTest;

namespace {

class ProjectileTest : public GameWorldTest {
protected:
    // A shot as a shooter leaves it: placed, turned and given its speed.
    Projectile* launch(int kind, double speed) {
        auto* shot = static_cast<Projectile*>(world->addElement(kind));
        shot->setPos(0, 0, -100);
        shot->yaw(90); // flying along -x
        shot->setSpeed(speed);
        return shot;
    }
};

} // namespace

TEST_F(ProjectileTest, SmokePuffsComeOncePastEachTimeUnitOneUnitBehindTheShot) {
    Projectile* shot = launch(kKindWurst, 50.0);
    shot->update(0.5); // the timer starts at a half: exactly 1.0 is not past
    EXPECT_EQ(count<SmokeCloud>(), 0);
    shot->update(0.01);
    EXPECT_EQ(count<SmokeCloud>(), 1);
    EXPECT_FLOAT_EQ(shot->getSmokeTimer(), 0.0f);

    shot = launch(kKindLaserProjectile, 50.0);
    std::vector<int> puffs;
    for (int i = 0; i < 5; ++i) {
        shot->update(0.6);
        puffs.push_back(count<SmokeCloud>() - 1);
    }
    // Timer 0.5 -> 1.1 (puff), 0.6, 1.2 (puff), 0.6, 1.2 (puff).
    EXPECT_EQ(puffs, (std::vector<int>{1, 1, 2, 2, 3}));
    SmokeCloud* newest = all<SmokeCloud>().back();
    EXPECT_NEAR(shot->getPos(0), -150.0f, 1e-3) << "five steps of 0.6 at speed 50 along -x";
    EXPECT_NEAR(newest->getPos(0), shot->getPos(0) + 1.0f, 1e-3) << "one unit behind the shot";
    EXPECT_NEAR(newest->getPos(2), -100.0f, 1e-3);
    testsupport::expectSameMatrix(*newest, *shot); // oriented like the shot
}

TEST_F(ProjectileTest, AShotFliesThirtyFiveUnitsThenVanishesWithoutBurst) {
    Projectile* shot = launch(kKindWurst, 50.0);
    for (int i = 0; i < 34; ++i) {
        shot->update(1.0);
    }
    EXPECT_TRUE(shot->isVisible());
    EXPECT_GT(shot->getHealth(), 0.0f);
    const float lastX = shot->getPos(0);
    EXPECT_NEAR(lastX, -34 * 50.0f, 1e-2);

    shot->update(1.0);
    EXPECT_FALSE(shot->isVisible());
    EXPECT_FLOAT_EQ(shot->getHealth(), 0.0f);
    EXPECT_FLOAT_EQ(shot->getPos(0), lastX) << "the last update only hides it";
    EXPECT_EQ(count<Explosion>(), 0);

    world->update(0.0);
    EXPECT_EQ(count<Wurst>(), 0) << "the container removes the spent shot";
}

TEST_F(ProjectileTest, EveryHitBurstsAtTheShotUntilOneHasDestroyedIt) {
    Projectile* shot = launch(kKindWurst, 50.0);
    shot->setPos(12, 34, 56);
    shot->setHealth(1.0f);
    shot->hit(0.5f);  // still flying
    shot->hit(0.5f);  // no health left, so destroyed: it goes at the end of the update
    shot->hit(40.0f); // touching one more thing on the way out
    ASSERT_EQ(count<Explosion>(), 2) << "a destroyed shot bursts no more";
    testsupport::expectVector(*all<Explosion>()[1], &Element3D::getPos, 12, 34, 56);
}

TEST_F(ProjectileTest, ACrowdOfShotsAtOnePointBurstsOncePerShot) {
    const int shots = 30;
    for (int i = 0; i < shots; ++i) {
        launch(kKindLaserProjectile, 0.0)->setPos(5, 5, 5);
    }
    world->collide();
    EXPECT_EQ(count<Explosion>(), shots) << "not one per contact: 30 x 29 of them";
}

TEST_F(ProjectileTest, AShotStrikingARockBurstsAndIsGoneTheSameFrame) {
    Object3D* rock = world->addElement(kKindAsteroid);
    rock->setPos(-25, 0, -100); // out of reach (25 > sqrt(20^2 + 10^2)) until the shot moves
    launch(kKindLaserProjectile, 50.0);
    world->update(0.01); // 0.2 time units: 10 units of flight, 15 from the rock
    EXPECT_EQ(count<Fugenmasse>(), 0);
    EXPECT_EQ(count<Explosion>(), 1);
    EXPECT_FLOAT_EQ(rock->getHealth(), 60.0f);
}

TEST_F(ProjectileTest, AShotExpiringInAFrameStillBurstsOnContactInIt) {
    Object3D* rock = world->addElement(kKindAsteroid);
    rock->setPos(0, 0, -100);
    Projectile* shot = launch(kKindLaserProjectile, 0.0);
    for (int i = 0; i < 34; ++i) {
        shot->update(1.0);
    }
    world->update(0.05); // the 35th time unit: the shot expires, yet still collides
    EXPECT_EQ(count<Fugenmasse>(), 0);
    EXPECT_EQ(count<Explosion>(), 1);
    EXPECT_FLOAT_EQ(rock->getHealth(), 60.0f);
}

TEST_F(ProjectileTest, ThePlayersShotsNeverHitThePlayersShip) {
    player->setHealth(100.0f);
    player->setRadius(30.0f); // the ship's collision sphere
    Object3D* laser = world->addElement(kKindLaserProjectile);
    laser->setPos(20, 0, -20); // where the right gun leaves it: overlapping the ship
    world->update(0.001);
    EXPECT_FLOAT_EQ(player->getHealth(), 100.0f);
    EXPECT_EQ(count<Fugenmasse>(), 1);
    EXPECT_EQ(count<Explosion>(), 0);

    Object3D* sausage = world->addElement(kKindWurst);
    sausage->setPos(0, 0, -5);
    world->update(0.001);
    EXPECT_FLOAT_EQ(player->getHealth(), 60.0f) << "an enemy's shot still strikes";
    EXPECT_EQ(count<Wurst>(), 0);
    EXPECT_EQ(count<Explosion>(), 1);

    world->addElement(kKindLaserProjectile)->setPos(5, 0, -500);
    laser->setPos(0, 0, -500);
    world->update(0.001);
    EXPECT_EQ(count<Fugenmasse>(), 0) << "the player's shots still hit each other";
}
