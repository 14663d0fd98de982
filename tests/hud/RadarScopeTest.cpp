// The radar scopes over the cockpit: where they sit on a 1024 x 768 screen and where elements
// ahead of, right of and above the ship show up on them.
#include "hud/RadarScope.h"
#include "game/PlayerShip.h"
#include "tests/hud/HudTestSupport.h"
#include "tests/support/WorldFixture.h"

#include <GL/gl.h>

#include <memory>

using hudtest::Blob;
using hudtest::findPixels;
using testsupport::WorldTest;

namespace {

// Where the game puts its two scopes, in the plane one unit in front of the eye.
const float kTopScopeX = 0.3f, kFrontScopeX = -0.3f, kScopeY = -0.337f;
// The same on screen, in window pixels from the bottom-left corner.
const double kTopScopePixelX = 790.0, kFrontScopePixelX = 234.0, kScopePixelY = 72.0;
const double kScopePixelRadius = 56.0;
const double kRangeInPixels = kScopePixelRadius / 2000.0; // pixels per world unit

// A plain element with a radar colour of its choosing.
class Beacon : public Object3D {
public:
    Beacon(ElementContainer* container, float r, float g, float b) : Object3D(container) {
        fRadarColor[0] = r;
        fRadarColor[1] = g;
        fRadarColor[2] = b;
    }
    void init() override {}
    void update(double) override {}
};

class RadarScopeTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        ship = std::make_unique<PlayerShip>(world, nullptr);
    }
    void TearDown() override {
        glDisable(GL_POINT_SMOOTH);
        glPointSize(1.0f);
        ship.reset();
        WorldTest::TearDown();
    }

    Beacon* addBeacon(float x, float y, float z, float r, float g, float b) {
        auto* beacon =
            static_cast<Beacon*>(world->file(std::make_unique<Beacon>(world, r, g, b), false));
        beacon->setPos(x, y, z);
        return beacon;
    }

    // Draws the scope the way the frame does: the perspective projection current, the
    // model-view one unit forward.
    std::vector<std::uint8_t> drawScope(int mode, float x) {
        hudtest::enterCockpitPlane();
        glMatrixMode(GL_PROJECTION);
        RadarScope scope(world, mode, x, kScopeY);
        scope.draw();
        glMatrixMode(GL_MODELVIEW);
        return readPixels();
    }

    static void expectAt(const Blob& blob, double x, double y) {
        ASSERT_GT(blob.count, 0) << "no dot drawn";
        EXPECT_LE(blob.maxX - blob.minX, 4) << "one dot expected";
        EXPECT_NEAR(blob.centreX, x, 1.0);
        EXPECT_NEAR(blob.centreY, y, 1.0);
    }

    std::unique_ptr<PlayerShip> ship;
};

} // namespace

TEST_F(RadarScopeTest, BothScopesSitOverTheCockpitArt) {
    std::vector<std::uint8_t> pixels = drawScope(kRadarTopView, kTopScopeX);
    Blob marker = findPixels(pixels, kWidth, kHeight, hudtest::isGreen);
    expectAt(marker, kTopScopePixelX, kScopePixelY);

    glClear(GL_COLOR_BUFFER_BIT);
    pixels = drawScope(kRadarFrontView, kFrontScopeX);
    marker = findPixels(pixels, kWidth, kHeight, hudtest::isGreen);
    expectAt(marker, kFrontScopePixelX, kScopePixelY);
}

TEST_F(RadarScopeTest, AnElementAheadShowsAboveTheCentreFromAboveAndAtTheCentreFromTheFront) {
    addBeacon(0.0f, 0.0f, -1000.0f, 1.0f, 0.0f, 0.0f);

    std::vector<std::uint8_t> pixels = drawScope(kRadarTopView, kTopScopeX);
    expectAt(findPixels(pixels, kWidth, kHeight, hudtest::isRed), kTopScopePixelX,
             kScopePixelY + 1000.0 * kRangeInPixels);

    glClear(GL_COLOR_BUFFER_BIT);
    pixels = drawScope(kRadarFrontView, kFrontScopeX);
    expectAt(findPixels(pixels, kWidth, kHeight, hudtest::isRed), kFrontScopePixelX, kScopePixelY);
}

TEST_F(RadarScopeTest, AnElementFarToTheRightSitsOnTheRimInBothViews) {
    addBeacon(5000.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);

    std::vector<std::uint8_t> pixels = drawScope(kRadarTopView, kTopScopeX);
    expectAt(findPixels(pixels, kWidth, kHeight, hudtest::isBlue),
             kTopScopePixelX + kScopePixelRadius, kScopePixelY);

    glClear(GL_COLOR_BUFFER_BIT);
    pixels = drawScope(kRadarFrontView, kFrontScopeX);
    expectAt(findPixels(pixels, kWidth, kHeight, hudtest::isBlue),
             kFrontScopePixelX + kScopePixelRadius, kScopePixelY);
}

TEST_F(RadarScopeTest, AnElementAboveShowsAboveTheCentreFromTheFront) {
    addBeacon(0.0f, 500.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    std::vector<std::uint8_t> pixels = drawScope(kRadarFrontView, kFrontScopeX);
    expectAt(findPixels(pixels, kWidth, kHeight, hudtest::isBlue), kFrontScopePixelX,
             kScopePixelY + 500.0 * kRangeInPixels);
}

TEST_F(RadarScopeTest, TheScopeTurnsAndMovesWithTheShip) {
    // The ship at x = 3000 turned left to look down -x: the beacon 1500 further along -x is
    // straight ahead of it, whatever the world axes say.
    ship->setPos(3000.0f, 0.0f, 0.0f);
    ship->yaw(90.0f);
    addBeacon(1500.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f);
    std::vector<std::uint8_t> pixels = drawScope(kRadarTopView, kTopScopeX);
    expectAt(findPixels(pixels, kWidth, kHeight, hudtest::isRed), kTopScopePixelX,
             kScopePixelY + 1500.0 * kRangeInPixels);
}

TEST_F(RadarScopeTest, InactiveElementsAreNotShown) {
    // A fighter hiding behind its shield is inactive; the scope keeps quiet about it.
    addBeacon(0.0f, 0.0f, -1000.0f, 1.0f, 0.0f, 0.0f)->setActive(false);
    addBeacon(1000.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    std::vector<std::uint8_t> pixels = drawScope(kRadarTopView, kTopScopeX);
    EXPECT_EQ(findPixels(pixels, kWidth, kHeight, hudtest::isRed).count, 0);
    expectAt(findPixels(pixels, kWidth, kHeight, hudtest::isBlue),
             kTopScopePixelX + 1000.0 * kRangeInPixels, kScopePixelY);
}
