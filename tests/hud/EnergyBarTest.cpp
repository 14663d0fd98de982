// The energy bar over the cockpit: its place on a 1024 x 768 screen, its length and its colour
// as the ship's health runs down.
#include "hud/EnergyBar.h"
#include "game/PlayerShip.h"
#include "tests/hud/HudTestSupport.h"
#include "tests/support/WorldFixture.h"

#include <GL/gl.h>

using hudtest::Blob;
using hudtest::findPixels;

namespace {

// Where the game puts the bar: lower-left corner of its frame one unit in front of the eye.
const float kBarX = -0.157f, kBarY = -0.348f;
// The frame on screen runs from (367, 61) to (649, 99); the coloured quad sits about 2.3 pixels
// inside it on every side.
const int kInnerLeft = 369, kInnerBottom = 64, kInnerTop = 95;
const double kPixelsPerUnit = 384.0 / 0.41421356; // at one unit in front of the eye, 768 high

using EnergyBarTest = testsupport::WorldTest;

} // namespace

TEST_F(EnergyBarTest, TheBarShrinksWithHealthAndTurnsRedBelowTwoFifths) {
    PlayerShip ship(world, nullptr);
    EnergyBar bar(&ship, kBarX, kBarY);
    const struct {
        float health;
        bool green, red;
    } cases[] = {{300, true, false}, {150, true, false}, {120, true, false}, {119, false, true},
                 {50, false, true},  {0, false, false},  {-40, false, false}};
    for (const auto& c : cases) {
        ship.setHealth(c.health);
        glClear(GL_COLOR_BUFFER_BIT);
        hudtest::enterCockpitPlane();
        glMatrixMode(GL_PROJECTION); // as the frame draws it
        bar.draw();
        glMatrixMode(GL_MODELVIEW);
        const std::vector<std::uint8_t> pixels = readPixels();
        const Blob lit = findPixels(pixels, hudtest::isLit);
        const Blob coloured = findPixels(pixels, c.green ? hudtest::isGreen : hudtest::isRed);
        if (!c.green && !c.red) {
            EXPECT_EQ(lit.count, 0) << c.health << ": no health, no bar";
            continue;
        }
        EXPECT_GT(coloured.count, 0) << c.health;
        EXPECT_EQ(coloured.count, lit.count) << c.health << ": nothing but the bar, in its colour";
        // The right end of the coloured quad for the share of full health.
        const double right = 512.0 + (kBarX + c.health / 300.0 * 0.305 - 0.0025) * kPixelsPerUnit;
        EXPECT_NEAR(lit.minX, kInnerLeft, 1) << c.health;
        EXPECT_NEAR(lit.maxX + 1, right, 1.0) << c.health;
        EXPECT_NEAR(lit.minY, kInnerBottom, 1) << c.health;
        EXPECT_NEAR(lit.maxY, kInnerTop, 1) << c.health;
    }
}
