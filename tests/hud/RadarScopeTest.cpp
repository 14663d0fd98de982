// The radar scopes over the cockpit: where they sit on a 1024 x 768 screen and where elements
// ahead of, right of and above the ship show up on them.
#include "hud/RadarScope.h"
#include "game/PlayerShip.h"
#include "tests/hud/HudTestSupport.h"
#include "tests/support/WorldFixture.h"

#include <GL/gl.h>

using hudtest::Blob;
using hudtest::findPixels;

namespace {

// Where the game puts its two scopes, in the plane one unit in front of the eye, and the
// same on screen, in window pixels from the bottom-left corner.
const float kTopScopeX = 0.3f, kFrontScopeX = -0.3f, kScopeY = -0.337f;
const double kTopScopePixelX = 790.0, kFrontScopePixelX = 234.0, kScopePixelY = 72.0;
const double kScopePixelRadius = 56.0;
const double kRangeInPixels = kScopePixelRadius / 2000.0; // pixels per world unit

// A plain element in red.
class Beacon : public Object3D {
public:
    explicit Beacon(ElementContainer* container) : Object3D(container) {
        fRadarColor[0] = 1.0f;
        fRadarColor[1] = fRadarColor[2] = 0.0f;
    }
    void init() override {}
    void update(double) override {}
};

class RadarScopeTest : public testsupport::WorldTest {
protected:
    void TearDown() override {
        glDisable(GL_POINT_SMOOTH);
        glPointSize(1.0f);
        WorldTest::TearDown();
    }

    Beacon* addBeacon(float x, float y, float z) {
        auto* beacon = static_cast<Beacon*>(world->file(std::make_unique<Beacon>(world), false));
        beacon->setPos(x, y, z);
        return beacon;
    }

    // Draws the scope the way the frame does (the perspective projection current, the
    // model-view one unit forward) and gives where the dots of the colour lie.
    Blob drawScope(int mode, bool (*colour)(const hudtest::Rgba&)) {
        glClear(GL_COLOR_BUFFER_BIT);
        hudtest::enterCockpitPlane();
        glMatrixMode(GL_PROJECTION);
        RadarScope scope(world, mode, mode == kRadarTopView ? kTopScopeX : kFrontScopeX, kScopeY);
        scope.draw();
        glMatrixMode(GL_MODELVIEW);
        return findPixels(readPixels(), colour);
    }

    static void expectDot(const Blob& blob, double x, double y) {
        ASSERT_GT(blob.count, 0) << "no dot drawn";
        EXPECT_LE(blob.maxX - blob.minX, 4) << "one dot expected";
        EXPECT_NEAR(blob.centreX, x, 1.0);
        EXPECT_NEAR(blob.centreY, y, 1.0);
    }
};

} // namespace

TEST_F(RadarScopeTest, ElementsShowWhereTheyLieFromAboveAndFromTheFrontOfTheShip) {
    PlayerShip ship(world, nullptr);
    // The ship's own green marker sits in the middle of each scope, over the cockpit art.
    expectDot(drawScope(kRadarTopView, hudtest::isGreen), kTopScopePixelX, kScopePixelY);
    expectDot(drawScope(kRadarFrontView, hudtest::isGreen), kFrontScopePixelX, kScopePixelY);

    const struct {
        const char* what;
        float shipX, shipYaw, x, y, z;
        double topX, topY, frontX, frontY; // offsets from the scopes' centres, in pixels
    } cases[] = {
        {"ahead", 0, 0, 0, 0, -1000, 0, 1000 * kRangeInPixels, 0, 0},
        {"far right: on the rim", 0, 0, 5000, 0, 0, kScopePixelRadius, 0, kScopePixelRadius, 0},
        {"right, just inside the rim", 0, 0, 1900, 0, 0, 1900 * kRangeInPixels, 0,
         1900 * kRangeInPixels, 0},
        {"above", 0, 0, 0, 500, 0, 0, 0, 0, 500 * kRangeInPixels},
        // Turned left to look down -x: ahead whatever the world axes say.
        {"ahead of a ship at x 3000 looking down -x", 3000, 90, 1500, 0, 0, 0,
         1500 * kRangeInPixels, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ship.resetOrientation();
        ship.setPos(c.shipX, 0, 0);
        ship.yaw(c.shipYaw);
        Beacon* beacon = addBeacon(c.x, c.y, c.z);
        expectDot(drawScope(kRadarTopView, hudtest::isRed), kTopScopePixelX + c.topX,
                  kScopePixelY + c.topY);
        expectDot(drawScope(kRadarFrontView, hudtest::isRed), kFrontScopePixelX + c.frontX,
                  kScopePixelY + c.frontY);
        beacon->setActive(false); // as a fighter behind its shield: the scope keeps quiet
        EXPECT_EQ(drawScope(kRadarTopView, hudtest::isRed).count, 0);
    }
}
