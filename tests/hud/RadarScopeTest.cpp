// The radar scopes over the cockpit: where they sit on a 1024 x 768 screen and where elements
// ahead of, right of and above the ship show up on them.
#include "hud/RadarScope.h"
#include "game/PlayerShip.h"
#include "tests/hud/HudTestSupport.h"
#include "tests/support/WorldFixture.h"

#include <GL/gl.h>

#include <cmath>
#include <random>

using hudtest::Blob;
using hudtest::findPixels;

namespace {

// Where the game puts its two scopes, in the plane one unit in front of the eye, and the
// same on screen, in window pixels from the bottom-left corner.
const float kTopScopeX = 0.3f, kFrontScopeX = -0.3f, kScopeY = -0.337f;
const double kTopScopePixelX = 790.0, kFrontScopePixelX = 234.0, kScopePixelY = 72.0;
const double kScopePixelRadius = 56.0;
const double kRangeInPixels = kScopePixelRadius / 2000.0; // pixels per world unit

// A plain element in red, or in the colour given.
class Beacon : public Object3D {
public:
    explicit Beacon(ElementContainer* container, float r = 1.0f, float g = 0.0f, float b = 0.0f)
        : Object3D(container) {
        fRadarColor[0] = r;
        fRadarColor[1] = g;
        fRadarColor[2] = b;
    }
    void init() override {}
    void update(double) override {}
};

class RadarScopeTest : public testsupport::WorldTest {
protected:
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

    // The frame's state under the instruments: textured by the last overlay texel, alpha-tested.
    void enterInstrumentState() {
        const unsigned char texel[4] = {200, 180, 255, 160};
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, 0.1f);
    }
    void TearDown() override {
        glDeleteTextures(1, &texture);
        testsupport::WorldTest::TearDown();
    }
    GLuint texture = 0;

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

TEST_F(RadarScopeTest, DotsAtOneSpotGoOnceAndLeaveThePixelsOfEveryDotDrawn) {
    // A field behind the ship, columns of rocks on one spot of the top scope, rows on one spot
    // of the front scope, the far ones pinned to the rim; clusters of colours at single points
    // inside, on the rim and on the ship itself; scattered ones. Plain, the one batch must give
    // the picture of the dots drawn one at a time.
    PlayerShip ship(world, nullptr);
    const float shades[][3] = {{1, 0, 0}, {0, 0, 1}, {1, 1, 0}, {0, 1, 1}, {1, 0, 1}};
    auto place = [this, &shades](int shade, float x, float y, float z, bool atBack) {
        const float* c = shades[shade % 5];
        world->file(std::make_unique<Beacon>(world, c[0], c[1], c[2]), atBack)->setPos(x, y, z);
    };
    int n = 0;
    for (int i = 0; i < 16; ++i) {
        for (int j = 0; j < 16; ++j) {
            for (int k = 0; k < 12; ++k, ++n) {
                place(n, (i - 8) * 70.0f, (j - 8) * 70.0f, 500.0f + k * 140.0f, n % 3 == 0);
            }
        }
    }
    for (float x : {300.0f, 9000.0f, 0.0f}) {
        for (int shade = 0; shade < 5; ++shade, ++n) {
            place(shade, x, 0.0f, -x / 3, shade == 2);
        }
    }
    // A fifth of a pixel apart: two spots, both drawn.
    place(0, 1000.0f, 0.0f, 0.0f, false);
    place(1, 1007.0f, 0.0f, 0.0f, false);
    n += 2;
    std::mt19937 random(9);
    std::uniform_real_distribution<float> anywhere(-4000.0f, 4000.0f);
    for (int i = 0; i < 300; ++i, ++n) {
        place(i, anywhere(random), anywhere(random), anywhere(random), i % 2 == 0);
    }
    enterInstrumentState();
    for (float yaw : {0.0f, 20.0f}) {
        ship.resetOrientation();
        ship.yaw(yaw);
        for (int mode : {kRadarTopView, kRadarFrontView}) {
            SCOPED_TRACE(testing::Message() << "yaw " << yaw << ", mode " << mode);
            RadarScope scope(world, mode, mode == kRadarTopView ? kTopScopeX : kFrontScopeX,
                             kScopeY);
            std::vector<std::uint8_t> pictures[2];
            std::size_t sent[2] = {0, 0};
            for (bool shortcut : {false, true}) {
                world->drawingShortcuts =
                    shortcut ? kShortcutsAll : kShortcutsAll & ~kShortcutRadar;
                glClear(GL_COLOR_BUFFER_BIT);
                hudtest::enterCockpitPlane();
                scope.draw();
                glMatrixMode(GL_MODELVIEW);
                pictures[shortcut] = readPixels();
                sent[shortcut] = scope.getDotsSent();
            }
            glClear(GL_COLOR_BUFFER_BIT);
            const std::vector<float>& dots = scope.getDots();
            for (std::size_t i = 0; i < dots.size() / 2; ++i) {
                glColor3fv(&scope.getDotColours()[i * 3]);
                glBegin(GL_POINTS);
                glVertex2fv(&dots[i * 2]);
                glEnd();
            }
            EXPECT_TRUE(readPixels() == pictures[false]) << "one dot at a time";
            EXPECT_EQ(sent[false], static_cast<std::size_t>(n) + 1) << "plain: every dot";
            EXPECT_TRUE(pictures[true] == pictures[false]);
            // Each cluster's four covered dots are left out whichever way the ship looks.
            EXPECT_LE(sent[true], sent[false] - 12);
            if (yaw == 0.0f) {
                EXPECT_LT(sent[true], sent[false] / 4) << "a spot per column or row of the field";
            }
        }
    }
}
