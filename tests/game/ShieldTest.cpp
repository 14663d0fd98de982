// Shields: taking hits for their owner, breaking and handing the hits back, the flash and its
// fade, the wire-frame sphere, and owners and shields that go before one another.
#include "game/Shield.h"
#include "tests/game/GameWorldTest.h"

#include <algorithm>

using gametest::GameWorldTest;
using testsupport::litPixels;
using testsupport::ProbeElement;

namespace {

class ShieldTest : public GameWorldTest {
protected:
    // An inert element wrapped in a shield, as a fighter wraps itself.
    Shield* shieldedOwner() {
        owner = addProbe("owner");
        owner->setPos(10, 20, 30);
        owner->setActive(false);
        auto* shield = static_cast<Shield*>(owner->createShield(25.0f));
        owner->setShield(shield);
        return shield;
    }
    ProbeElement* owner = nullptr;
};

} // namespace

TEST_F(ShieldTest, AShieldTakesItsOwnersHitsUntilOneBreaksItThenFreesTheOwner) {
    Shield* shield = shieldedOwner();
    EXPECT_EQ(shield->getOwner(), owner);
    EXPECT_FLOAT_EQ(shield->getPos(2), 30.0f);
    EXPECT_EQ(std::prev(world->end())->get(), shield) << "filed behind the solid objects";
    EXPECT_TRUE(shield->isSortedByDistance()) << "see-through: drawn last, nearest first";

    shield->setHealth(41.0f);
    shield->update(100.0); // let the creation flash fade a step
    shield->hit(40.0f);
    EXPECT_FLOAT_EQ(shield->getHealth(), 1.0f);
    EXPECT_DOUBLE_EQ(shield->getGlow(), 0.5) << "a hit restarts the flash";
    EXPECT_TRUE(shield->isActive());
    EXPECT_FALSE(owner->isActive());

    shield->setHealth(40.0f);
    shield->hit(40.0f);
    EXPECT_FALSE(shield->isActive());
    EXPECT_TRUE(owner->isActive()) << "hits now reach the owner";
    EXPECT_EQ(owner->getShield(), nullptr);
    EXPECT_EQ(shield->getOwner(), nullptr);
    world->update(0.0);
    EXPECT_EQ(count<Shield>(), 0);
}

TEST_F(ShieldTest, TheFlashFadesInTenStepsOfOneUnitThenHolds) {
    Shield* shield = static_cast<Shield*>(world->addElement(kKindShield));
    std::vector<double> glow;
    for (int i = 0; i < 4; ++i) {
        shield->update(0.6); // timer 0.6, 1.2 (step), 0.8, 1.4 (step)
        glow.push_back(shield->getGlow());
    }
    EXPECT_DOUBLE_EQ(glow[0], 0.5);
    EXPECT_DOUBLE_EQ(glow[1], 0.45);
    EXPECT_DOUBLE_EQ(glow[2], 0.45);
    EXPECT_NEAR(glow[3], 0.40, 1e-12);
    for (int i = 0; i < 100; ++i) {
        shield->update(1.5); // one step per update at most
    }
    const double settled = shield->getGlow();
    EXPECT_LE(settled, 0.001);
    EXPECT_GT(settled, -0.05) << "no step once it is out";
}

TEST_F(ShieldTest, WhicheverOfOwnerAndShieldGoesFirstTheOtherIsLetGo) {
    Shield* shield = shieldedOwner();
    shield->setHealth(0.0f);
    world->update(0.0);
    EXPECT_EQ(count<Shield>(), 0);
    EXPECT_EQ(owner->getShield(), nullptr);

    shield = shieldedOwner();
    owner->setHealth(0.0f);
    world->update(0.0);
    ASSERT_EQ(count<Shield>(), 1);
    EXPECT_EQ(shield->getOwner(), nullptr);
    shield->setHealth(40.0f);
    shield->hit(40.0f); // would switch the freed owner on if it still pointed there
    world->update(0.0);
    EXPECT_EQ(world->size(), 1u) << "an ownerless shield breaks alone; the first owner is left";
}

TEST_F(ShieldTest, TheSphereIsDimCyanBrightensWithTheFlashAndShowsEvenWhenMarkedInvisible) {
    auto* shield = static_cast<Shield*>(world->addElement(kKindShield)); // alone, in view
    shield->setPos(0, 0, -150);
    shield->setRadius(40.0f);
    gameCamera();
    glEnable(GL_LIGHTING); // only the global ambient light: the sphere shows its ambient colour
    // The brightest red, green and blue anywhere on the screen.
    auto brightest = [this]() {
        std::vector<std::uint8_t> pixels = drawWorld();
        std::vector<int> best(3, 0);
        for (size_t i = 0; i < pixels.size(); i += 4) {
            for (int c = 0; c < 3; ++c) {
                best[c] = std::max(best[c], int(pixels[i + c]));
            }
        }
        return best;
    };
    const std::vector<int> flashing = brightest();
    for (int i = 0; i < 20; ++i) {
        shield->update(1.5);
    }
    const std::vector<int> calm = brightest();
    glDisable(GL_LIGHTING);
    EXPECT_EQ(flashing[0], 0) << "no red in cyan";
    EXPECT_EQ(flashing[1], flashing[2]);
    EXPECT_EQ(calm[1], calm[2]);
    EXPECT_GT(calm[1], 0) << "the wire frame still shows";
    EXPECT_GT(flashing[1], calm[1] + 10);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D)) << "the sphere turns texturing back on";
    EXPECT_FALSE(glIsEnabled(GL_BLEND));

    shield->setVisible(false);
    EXPECT_GT(litPixels(drawWorld()), 100);
}

TEST_F(ShieldTest, AShieldOutOfViewIsSkippedAndShieldsOfOneRadiusShareOneWireModel) {
    // 150 ahead, the view's edge lies 83 to the side: a shield of radius 40 whose centre lies
    // 150 to the side is wholly beside it, one at 110 reaches into it.
    gameCamera();
    auto* shield = static_cast<Shield*>(world->addElement(kKindShield));
    shield->setRadius(40.0f);
    shield->setPos(150.0f, 0.0f, -150.0f);
    EXPECT_EQ(litPixels(drawWorld()), 0);
    EXPECT_EQ(world->wireModel(40.0f).iDisplayList, 0u) << "skipped: its wires never drawn";
    shield->setPos(110.0f, 0.0f, -150.0f);
    for (float x : {-60.0f, 0.0f}) {
        world->addElement(kKindShield)->setPos(x, 0.0f, -300.0f); // radius 10, the default
    }
    EXPECT_GT(litPixels(drawWorld()), 0);
    const unsigned wires[2] = {world->wireModel(10.0f).iDisplayList,
                               world->wireModel(40.0f).iDisplayList};
    EXPECT_TRUE(wires[0] != 0u && wires[1] != 0u && wires[0] != wires[1]) << "one per radius";
    world->addElement(kKindShield)->setPos(0.0f, -60.0f, -300.0f);
    drawWorld();
    EXPECT_EQ(world->wireModel(10.0f).iDisplayList, wires[0]) << "compiled once for every shield";
    EXPECT_EQ(world->wireModel(40.0f).iDisplayList, wires[1]);
}
