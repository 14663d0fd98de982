// Which sound each event of the world reports, and where: a recorder takes the container's sound
// system's place, as the audio back end would. (The guns' sides are heard in the rendered mix.)
#include "app/SoundScape.h"
#include "game/EnemyFighter.h"
#include "game/Explosion.h"
#include "game/PlayerShip.h"
#include "game/Shield.h"
#include "hud/EnergyBar.h"
#include "tests/support/WorldFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

struct Heard {
    Sound sound;
    float x, y, z;
};

class Recorder : public SoundSystem {
public:
    void play(Sound sound, float x, float y, float z) override {
        heard.push_back({sound, x, y, z});
    }
    void playFlat(Sound sound) override { heard.push_back({sound, 0, 0, 0}); }
    void adjustLoop(Sound sound, float, float pitch) override {
        if (sound == Sound::Engine) {
            enginePitch = pitch;
        }
    }
    long count(Sound sound) const {
        return std::count_if(heard.begin(), heard.end(),
                             [sound](const Heard& h) { return h.sound == sound; });
    }
    std::vector<Heard> heard;
    float enginePitch = 0.0f;
};

class SoundEventsTest : public testsupport::WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        EnemyFighter::resetSharedState();
        world->setSound(&recorder);
    }
    Recorder recorder;
};

TEST_F(SoundEventsTest, AShieldRingsOnAHitShattersOnTheLastAndAFighterGrowsANewOne) {
    testsupport::PlayerStandIn player(world);
    player.setPos(0.0f, 0.0f, 5000.0f); // far away: the fighter idles
    auto* fighter = static_cast<EnemyFighter*>(world->addElement(kKindFighter));
    fighter->setPos(100.0f, 0.0f, 0.0f);
    fighter->update(0.0);
    Object3D* shield = fighter->getShield();
    shield->hit(40.0f);
    shield->hit(EnemyFighter::kShieldFullHealth);
    fighter->update(EnemyFighter::kFirstShieldDelay);
    ASSERT_EQ(recorder.heard.size(), 3u);
    EXPECT_EQ(recorder.heard[0].sound, Sound::ShieldHit);
    EXPECT_EQ(recorder.heard[0].x, 100.0f);
    EXPECT_EQ(recorder.heard[1].sound, Sound::ShieldBreak);
    EXPECT_EQ(recorder.heard[2].sound, Sound::ShieldRise);
}

TEST_F(SoundEventsTest, AnExplosionBangsOnceWhereItFlaresUpAndACollisionWhereTwoMeet) {
    testsupport::PlayerStandIn player(world);
    Object3D* explosion = world->addElement(kKindExplosion);
    explosion->setPos(0.0f, 0.0f, -100.0f);
    world->update(0.05);
    world->update(0.05);
    ASSERT_EQ(recorder.count(Sound::Explosion), 1);
    EXPECT_EQ(recorder.heard[0].z, -100.0f);

    recorder.heard.clear();
    Object3D* rock = world->addElement(kKindAsteroid);
    rock->setPos(0.0f, 0.0f, 500.0f);
    Object3D* other = world->addElement(kKindAsteroid);
    other->setPos(0.0f, 10.0f, 500.0f);
    world->collide();
    ASSERT_EQ(recorder.count(Sound::Collision), 1);
    EXPECT_EQ(recorder.heard[0].y, 5.0f);
}

TEST_F(SoundEventsTest, CockpitJinglesSoundOnceAndTheWarningRepeatsWhileTheBarIsRed) {
    PlayerShip ship(world, nullptr);
    EnergyBar bar(&ship, 0.0f, 0.0f);
    SoundScape scape(*world, ship, bar);

    world->setLevelEnded();
    world->setLevelEnded();
    EXPECT_EQ(recorder.count(Sound::LevelComplete), 1);

    recorder.heard.clear();
    world->bLevelEnded = false;
    const double frame = 0.05;           // one time unit
    for (float share : {0.39f, 0.41f}) { // red, then green again
        ship.setHealth(bar.getMaxHealth() * share);
        for (int i = 0; i <= 2 * SoundScape::kWarningInterval; ++i) {
            scape.update(frame);
        }
        EXPECT_EQ(recorder.count(Sound::Warning), 3) << "at once, then every interval: " << share;
    }

    ship.setHealth(0.0f);
    scape.update(frame);
    scape.update(frame);
    EXPECT_EQ(recorder.count(Sound::GameOver), 1);
    EXPECT_EQ(recorder.count(Sound::Warning), 3);
}

} // namespace

TEST_F(SoundEventsTest, TheEngineHumsHigherAsTheShipSpeedsUp) {
    PlayerShip ship(world, nullptr);
    EnergyBar bar(&ship, 0.0f, 0.0f);
    SoundScape scape(*world, ship, bar);
    const double top = ship.getMaxSpeed();
    for (double speed : {0.0, top / 2.0, top, 2.0 * top}) {
        ship.setSpeed(speed);
        scape.update(0.05);
        const double share = std::min(speed / top, 1.0);
        EXPECT_FLOAT_EQ(recorder.enginePitch,
                        SoundScape::kEngineRestPitch +
                            (SoundScape::kEngineTopPitch - SoundScape::kEngineRestPitch) * share)
            << "at speed " << speed;
    }
}
