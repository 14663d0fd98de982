// The objects a level places, as the player meets them: how many shots bring each down, how
// close a shot must pass to hit it, that it stays put and shows on screen and on the radar.
#include "hud/RadarScope.h"
#include "tests/game/GameWorldTest.h"
#include "tests/hud/HudTestSupport.h"

#include <cmath>

using gametest::GameWorldTest;

namespace {

class ModelObjectsTest : public GameWorldTest {
protected:
    // The colour (0xRRGGBB) the radar seen from above shows 1000 units ahead of the ship.
    std::uint32_t radarDot() {
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_TEXTURE_2D); // the dots in their own colours, not times the cockpit's
        hudtest::enterCockpitPlane();
        glMatrixMode(GL_PROJECTION); // as the frame draws it
        RadarScope(world, kRadarTopView, 0.3f, -0.337f).draw();
        glMatrixMode(GL_MODELVIEW);
        return pixelAt(790, 100) >> 8;
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
    const std::uint32_t none = 0, grey = 0x808080, red = 0xff0000, yellow = 0xffff00;
    const struct {
        const char* type;
        int kind;
        int shotsToDestroy; // a fighter's shield takes five before the fighter takes any
        float reach;        // the farthest a shot's centre may pass and still hit
        std::uint32_t radar, radarAtLastShot;
    } kinds[] = {
        {"OBJ3D_BONUS", kKindBonus, 3, 14.14f, none, none},
        {"OBJ3D_ASTEROID", kKindAsteroid, 3, 22.36f, grey, grey},
        {"OBJ3D_KNACKER", kKindKnacker, 13, 50.99f, red, red},
        {"OBJ3D_FIGHTER", kKindFighter, 8, 41.23f, none, yellow}, // shown once its shield is down
    };
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.type);
        ASSERT_EQ(world->kindOf(k.type), k.kind) << "the level's name for it";
        Object3D* object = world->addElement(k.kind);
        object->setPos(0.0f, 0.0f, kAhead);

        // On screen, straight ahead of the ship, drawn in white light, and on the radar.
        testsupport::GLTest::gameCamera();
        glColor3f(1.0f, 1.0f, 1.0f);
        EXPECT_GT(hudtest::findPixels(drawWorld(), hudtest::isLit).count, 20) << "drawn";
        EXPECT_EQ(radarDot(), k.radar);

        // A shot passing just outside its reach misses; just inside, it hits.
        EXPECT_FALSE(shotHits(world, k.reach + 0.05f));
        EXPECT_TRUE(shotHits(world, k.reach - 0.05f));
        int shots = 1;
        for (; alive(world, object) && shots < k.shotsToDestroy + 5; ++shots) {
            if (shots == k.shotsToDestroy - 1) {
                EXPECT_EQ(radarDot(), k.radarAtLastShot);
                EXPECT_EQ(object->getPos(2), kAhead) << "hit after hit, it has not moved";
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
