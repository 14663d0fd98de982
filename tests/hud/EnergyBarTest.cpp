// The energy bar over the cockpit: its place on a 1024 x 768 screen, its length and its colour
// as the ship's health runs down.
#include "hud/EnergyBar.h"
#include "game/PlayerShip.h"
#include "tests/hud/HudTestSupport.h"
#include "tests/support/WorldFixture.h"

#include <GL/gl.h>

#include <memory>

using hudtest::Blob;
using hudtest::findPixels;
using testsupport::WorldTest;

namespace {

// Where the game puts the bar: lower-left corner of its frame one unit in front of the eye.
const float kBarX = -0.157f, kBarY = -0.348f;
// The frame on screen runs from (367, 61) to (649, 99); the coloured quad sits about 2.3 pixels
// inside it on every side.
const int kInnerLeft = 369, kInnerBottom = 64, kInnerTop = 95;
const double kPixelsPerUnit = 384.0 / 0.41421356; // at one unit in front of the eye, 768 high

class EnergyBarTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        ship = std::make_unique<PlayerShip>(world, nullptr);
        bar = std::make_unique<EnergyBar>(ship.get(), kBarX, kBarY);
    }
    void TearDown() override {
        bar.reset();
        ship.reset();
        WorldTest::TearDown();
    }

    // Draws the bar at the given health the way the frame does and gives what shows.
    std::vector<std::uint8_t> drawAt(float health) {
        ship->setHealth(health);
        glClear(GL_COLOR_BUFFER_BIT);
        hudtest::enterCockpitPlane();
        glMatrixMode(GL_PROJECTION);
        bar->draw();
        glMatrixMode(GL_MODELVIEW);
        return readPixels();
    }

    // The right end of the coloured quad for a share of full health, in window pixels.
    static double rightEnd(double share) {
        return 512.0 + (kBarX + share * 0.305 - 0.0025) * kPixelsPerUnit;
    }

    std::unique_ptr<PlayerShip> ship;
    std::unique_ptr<EnergyBar> bar;
};

} // namespace

TEST_F(EnergyBarTest, AFullShipShowsAFullGreenBarInsideItsFrame) {
    EXPECT_FLOAT_EQ(bar->getMaxHealth(), 300.0f);
    const std::vector<std::uint8_t> pixels = drawAt(300.0f);
    const Blob green = findPixels(pixels, kWidth, kHeight, hudtest::isGreen);
    EXPECT_NEAR(green.minX, kInnerLeft, 1);
    EXPECT_NEAR(green.maxX, 646, 1);
    EXPECT_NEAR(green.minY, kInnerBottom, 1);
    EXPECT_NEAR(green.maxY, kInnerTop, 1);
    EXPECT_EQ(green.count, findPixels(pixels, kWidth, kHeight, hudtest::isLit).count)
        << "nothing but the bar is drawn";
}

TEST_F(EnergyBarTest, HalfTheHealthShowsHalfTheBarStillGreen) {
    const Blob green = findPixels(drawAt(150.0f), kWidth, kHeight, hudtest::isGreen);
    EXPECT_NEAR(green.minX, kInnerLeft, 1);
    EXPECT_NEAR(green.maxX + 1, rightEnd(0.5), 1.0);
    EXPECT_NEAR(green.minY, kInnerBottom, 1);
    EXPECT_NEAR(green.maxY, kInnerTop, 1);
}

TEST_F(EnergyBarTest, ASixthOfTheHealthShowsAShortRedBar) {
    const std::vector<std::uint8_t> pixels = drawAt(50.0f);
    EXPECT_EQ(findPixels(pixels, kWidth, kHeight, hudtest::isGreen).count, 0);
    const Blob red = findPixels(pixels, kWidth, kHeight, hudtest::isRed);
    EXPECT_NEAR(red.minX, kInnerLeft, 1);
    EXPECT_NEAR(red.maxX + 1, rightEnd(50.0 / 300.0), 1.0);
}

TEST_F(EnergyBarTest, TheBarTurnsRedBelowTwoFifths) {
    EXPECT_GT(findPixels(drawAt(120.0f), kWidth, kHeight, hudtest::isGreen).count, 0);
    const std::vector<std::uint8_t> pixels = drawAt(119.0f);
    EXPECT_EQ(findPixels(pixels, kWidth, kHeight, hudtest::isGreen).count, 0);
    EXPECT_GT(findPixels(pixels, kWidth, kHeight, hudtest::isRed).count, 0);
}

TEST_F(EnergyBarTest, NoHealthNoBar) {
    EXPECT_EQ(findPixels(drawAt(0.0f), kWidth, kHeight, hudtest::isLit).count, 0);
    EXPECT_EQ(findPixels(drawAt(-40.0f), kWidth, kHeight, hudtest::isLit).count, 0);
}
