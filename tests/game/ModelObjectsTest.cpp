// The objects a level places, as the player meets them: how many shots bring each down, how
// close a shot must pass to hit it, that it shows on screen and on the radar, and that it stays
// put.
#include "hud/RadarScope.h"
#include "tests/game/GameWorldTest.h"
#include "tests/hud/HudTestSupport.h"

#include <cmath>

using gametest::GameWorldTest;

namespace {

enum class Blip { None, Grey, Red, Yellow };

class ModelObjectsTest : public GameWorldTest {
protected:
    void TearDown() override {
        glDisable(GL_POINT_SMOOTH); // as the radar left it
        glPointSize(1.0f);
        GameWorldTest::TearDown();
    }
    // What the radar seen from above shows of the world besides the ship's own dot.
    Blip radarBlip() {
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_TEXTURE_2D); // the dots in their own colours, not times the cockpit's
        hudtest::enterCockpitPlane();
        glMatrixMode(GL_PROJECTION); // as the frame draws it
        RadarScope(world, kRadarTopView, 0.3f, -0.337f).draw();
        glMatrixMode(GL_MODELVIEW);
        const std::vector<std::uint8_t> radar = readPixels();
        const auto seen = [&radar](bool (*colour)(const hudtest::Rgba&)) {
            return hudtest::findPixels(radar, colour).count > 0;
        };
        if (seen(hudtest::isRed)) {
            return Blip::Red;
        }
        if (seen([](const hudtest::Rgba& p) { return p.r > 200 && p.g > 200 && p.b < 64; })) {
            return Blip::Yellow;
        }
        if (seen([](const hudtest::Rgba& p) { return p.r > 100 && p.r < 160 && p.g == p.r; })) {
            return Blip::Grey;
        }
        return Blip::None;
    }
};

const float kAhead = -1000.0f; // where the object floats: straight ahead, far from the ship

bool alive(ElementContainer* world, const Object3D* element) {
    for (auto& e : *world) {
        if (e.get() == element) {
            return true;
        }
    }
    return false;
}

// A resting shot put down beside the object; true when the next collision pass makes it hit.
bool shotHits(ElementContainer* world, float offset) {
    Object3D* shot = world->addElement(kKindLaserProjectile);
    shot->setPos(offset, 0.0f, kAhead);
    world->update(0.0);
    if (!alive(world, shot)) {
        return true; // spent on a hit
    }
    shot->setHealth(0.0f);
    world->update(0.0);
    return false;
}

} // namespace

TEST_F(ModelObjectsTest, EachKindTakesItsShotsIsHitWithinItsReachAndShowsOnScreenAndRadar) {
    const struct {
        const char* type;
        int kind;
        int shotsToDestroy;  // a fighter's shield takes five before the fighter takes any
        float reach;         // the farthest a shot's centre may pass and still hit
        Blip blip, lastBlip; // on the radar when placed, and before the last shot
    } kinds[] = {
        {"OBJ3D_BONUS", kKindBonus, 3, 14.14f, Blip::None, Blip::None},
        {"OBJ3D_ASTEROID", kKindAsteroid, 3, 22.36f, Blip::Grey, Blip::Grey},
        {"OBJ3D_KNACKER", kKindKnacker, 13, 50.99f, Blip::Red, Blip::Red},
        {"OBJ3D_FIGHTER", kKindFighter, 8, 41.23f, Blip::None, Blip::Yellow}, // shield down
    };
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.type);
        ASSERT_EQ(world->kindOf(k.type), k.kind) << "the level's name for it";
        Object3D* object = world->addElement(k.kind);
        object->setPos(0.0f, 0.0f, kAhead);

        // On screen, straight ahead of the ship, drawn in white light.
        testsupport::GLTest::gameCamera();
        glColor3f(1.0f, 1.0f, 1.0f);
        EXPECT_GT(hudtest::findPixels(drawWorld(), hudtest::isLit).count, 20) << "drawn";
        EXPECT_EQ(radarBlip(), k.blip);

        // A shot passing just outside its reach misses; just inside, it hits.
        EXPECT_FALSE(shotHits(world, k.reach + 0.05f));
        EXPECT_TRUE(shotHits(world, k.reach - 0.05f));
        int shots = 1;
        for (; alive(world, object) && shots < k.shotsToDestroy + 5; ++shots) {
            if (shots == k.shotsToDestroy - 1) {
                EXPECT_EQ(radarBlip(), k.lastBlip);
            }
            shotHits(world, 0.0f);
        }
        EXPECT_EQ(shots, k.shotsToDestroy);
        for (Object3D* left : all()) {
            left->setHealth(0.0f);
        }
        world->update(0.0);
    }
}

TEST_F(ModelObjectsTest, RocksAndKnackersStayWhereTheLevelPutThemThroughEveryHit) {
    for (int kind : {kKindBonus, kKindAsteroid, kKindKnacker}) {
        Object3D* object = world->addElement(kind);
        object->setPos(0.0f, 0.0f, kAhead);
        for (int i = 0; i < 2; ++i) {
            shotHits(world, 0.0f);
            world->update(1.0);
        }
        testsupport::expectVector(*object, &Element3D::getPos, 0.0f, 0.0f, kAhead);
        object->setHealth(0.0f);
        world->update(0.0);
    }
}
