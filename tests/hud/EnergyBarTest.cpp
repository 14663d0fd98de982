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

using EnergyBarTest = testsupport::WorldTest;

} // namespace

TEST_F(EnergyBarTest, TheBarShrinksWithHealthAndTurnsRedBelowTwoFifths) {
    PlayerShip ship(world, nullptr);
    EnergyBar bar(&ship, kBarX, kBarY);
    enum class Colour { Green, Red, None };
    // Pixels on the 1024 x 768 screen: the bar always starts at x = 369 and spans rows 64 to 95.
    const struct {
        float health;
        int width;
        Colour colour;
    } cases[] = {
        {300, 278, Colour::Green}, // full health: the whole bar
        {150, 137, Colour::Green}, // half: half the bar's length, less its border
        {120, 108, Colour::Green}, // two fifths left: still green
        {119, 107, Colour::Red},   // just below: red
        {0, 0, Colour::None},      {-40, 0, Colour::None},
    };
    for (const auto& c : cases) {
        ship.setHealth(c.health);
        glClear(GL_COLOR_BUFFER_BIT);
        hudtest::enterCockpitPlane();
        glMatrixMode(GL_PROJECTION); // as the frame draws it
        bar.draw();
        glMatrixMode(GL_MODELVIEW);
        const std::vector<std::uint8_t> pixels = readPixels();
        const Blob lit = findPixels(pixels, hudtest::isLit);
        if (c.colour == Colour::None) {
            EXPECT_EQ(lit.count, 0) << c.health << ": no health, no bar";
            continue;
        }
        const Blob coloured =
            findPixels(pixels, c.colour == Colour::Green ? hudtest::isGreen : hudtest::isRed);
        EXPECT_EQ(coloured.count, lit.count) << c.health << ": nothing but the bar, in its colour";
        EXPECT_EQ(lit.minX, 369) << c.health;
        EXPECT_EQ(lit.maxX + 1 - lit.minX, c.width) << c.health;
        EXPECT_EQ(lit.minY, 64) << c.health;
        EXPECT_EQ(lit.maxY, 95) << c.health;
    }
}
