// The whole cast together: a few thousand frames of a fight against a still target that must
// leave the world sound.
#include "game/EnemyFighter.h"
#include "game/Explosion.h"
#include "game/Wurst.h"
#include "tests/game/GameWorldTest.h"

#include <cmath>
#include <cstdio>

using gametest::GameWorldTest;
using testsupport::DebugCapture;

namespace {

class WorldSoakTest : public GameWorldTest {
protected:
    static bool sound(const Object3D& e) {
        bool finite = std::isfinite(e.getHealth()) && std::isfinite(e.getSpeed());
        for (int i = 0; i < 16; ++i) {
            finite = finite && std::isfinite(e.getMatrix()[i]) && std::isfinite(e.getPos(i % 3)) &&
                     std::isfinite(e.getScale(i % 3));
        }
        return finite;
    }

    EnemyFighter* nearestFighter() const {
        EnemyFighter* nearest = nullptr;
        double best = 0.0;
        for (EnemyFighter* fighter : all<EnemyFighter>()) {
            const double d = fighter->getDistanceToPlayerSquared();
            if (nearest == nullptr || d < best) {
                nearest = fighter;
                best = d;
            }
        }
        return nearest;
    }

    // The player's right gun, aimed straight at a fighter.
    void fireAt(const EnemyFighter& target) {
        Object3D* shot = world->addElement(kKindLaserProjectile);
        shot->setPos(20, 0, -20);
        shot->turnTowards(180.0f, target.getPos(0), target.getPos(1), target.getPos(2));
        shot->setSpeed(50.0);
    }
};

} // namespace

TEST_F(WorldSoakTest, AFightAgainstAStillTargetEndsInASoundWorld) {
    player->setHealth(1e6f);
    player->setRadius(30.0f);
    world->addElement(kKindOuterSpace);
    world->addElement(kKindSpaceDust);
    for (int i = 0; i < 3; ++i) {
        world->addElement(kKindAsteroid)->setPos(-300.0f + 300.0f * i, 150.0f, -600.0f);
    }
    world->addElement(kKindFighter)->setPos(0, 0, -900);
    world->addElement(kKindFighter)->setPos(600, 100, -700);
    // Every model and the smoke texture loaded once before counting textures.
    for (int kind : {kKindLaserProjectile, kKindWurst, kKindSmokeCloud, kKindExplosion}) {
        world->addElement(kind)->setHealth(0.0f);
    }
    world->update(0.0);
    const int texturesBefore = liveTextures();

    DebugCapture log;
    std::size_t most = 0;
    int contacts = 0;
    bool sawOpenFighter = false;
    bool sawEnemyShot = false;
    bool sawExplosion = false;
    int fightersLost = 0;
    gameCamera();
    for (int frame = 0; frame < 3000; ++frame) {
        if (count<EnemyFighter>() == 0) {
            ++fightersLost;
            world->addElement(kKindFighter)->setPos(0, 0, -950);
        }
        if (frame % 10 == 0) {
            fireAt(*nearestFighter());
        }
        world->update(0.05); // one time unit
        if (frame % 100 == 0) {
            world->draw();
        }
        most = std::max(most, world->size());
        for (EnemyFighter* fighter : all<EnemyFighter>()) {
            sawOpenFighter = sawOpenFighter || fighter->isActive();
        }
        sawEnemyShot = sawEnemyShot || count<Wurst>() > 0;
        sawExplosion = sawExplosion || count<Explosion>() > 0;
        contacts += log.count("Kollision\n");
        log.clear();
    }

    for (auto& element : *world) {
        EXPECT_TRUE(sound(*element)) << "a NaN or infinity in an element";
    }
    EXPECT_TRUE(std::isfinite(player->getHealth()));
    EXPECT_LT(most, 600u) << "elements pile up";
    EXPECT_EQ(liveTextures(), texturesBefore) << "textures made during play";
    EXPECT_TRUE(sawOpenFighter) << "no shield ever broke";
    EXPECT_TRUE(sawEnemyShot);
    EXPECT_TRUE(sawExplosion);
    EXPECT_LT(player->getHealth(), 1e6f) << "the fighters never hit the still target";
    EXPECT_GT(contacts, 10);
    std::printf("most elements %zu, fighters lost %d, contacts %d, player health %.0f\n", most,
                fightersLost, contacts, player->getHealth());
}
