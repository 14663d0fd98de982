// The key table as the player meets it: debug switches once per key press, spawns ahead of the
// ship, the object dump, flight keys that only work while the ship lives and nothing holds the
// world, and the keys card that lists them.
#include "app/KeyTable.h"
#include "app/KeysCard.h"
#include "game/Asteroid.h"
#include "game/EnemyFighter.h"
#include "game/Explosion.h"
#include "game/Fugenmasse.h"
#include "tests/app/AppFixture.h"

#include <GL/gl.h>

namespace apptest {
namespace {

using KeyTableTest = AppTest;

TEST_F(KeyTableTest, DebugSwitchesActOncePerKeyPress) {
    for (unsigned key : {platform::VK_F3, platform::VK_F4, platform::VK_F5}) {
        pressKey(key);
    }
    HandleKeys(*app);
    HandleKeys(*app); // still held: one-shot keys have already cleared themselves
    EXPECT_FALSE(world->bDisplayLists);
    EXPECT_TRUE(world->bVertexArrays);
    pressKey(platform::VK_F3);
    HandleKeys(*app);
    GLint culled = 0;
    glGetIntegerv(GL_CULL_FACE_MODE, &culled);
    EXPECT_EQ(culled, GL_BACK) << "back from wire frame: solid with back faces culled";
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D) && glIsEnabled(GL_LIGHTING));

    for (int expected : {1, 2, 0}) {
        pressKey(platform::VK_F6);
        HandleKeys(*app);
        EXPECT_EQ(world->iTextureFilter, expected);
    }
}

TEST_F(KeyTableTest, SpawnsAppearAheadOfTheShipFacingItsWay) {
    app->pPlayer->yaw(90.0f); // now looking along -x
    app->pPlayer->setPos(10.0f, 0.0f, 0.0f);
    pressKey(platform::VK_SPACE);
    pressKey('B');
    pressKey('1');
    HandleKeys(*app);

    ASSERT_EQ(count<EnemyFighter>(), 1);
    EnemyFighter* fighter = all<EnemyFighter>()[0];
    testsupport::expectVector(*fighter, &Element3D::getPos, 10.0f - 500.0f, 0, 0, 1e-3);
    testsupport::expectSameMatrix(*fighter, *app->pPlayer);

    ASSERT_EQ(count<Asteroid>(), 1);
    Asteroid* rock = all<Asteroid>()[0];
    EXPECT_NEAR(rock->getPos(0), 10.0f - 100.0f, 1e-3);
    EXPECT_GE(rock->getScale(0), 5.0f) << "a random size";
    EXPECT_LE(rock->getScale(0), 15.0f);
    EXPECT_EQ(rock->getScale(0), rock->getScale(2));
    ASSERT_EQ(count<Explosion>(), 1);
    EXPECT_EQ(all<Explosion>()[0]->getPos(2), -100.0f);
}

TEST_F(KeyTableTest, ObjectDumpListsLivingModelsAndKeepsCounting) {
    const float places[3][3] = {{1.5f, 2.0f, -3.25f}, {0, 0, -600}, {100, -50, -700}};
    for (const auto& p : places) {
        world->addElement(kKindAsteroid)->setPos(p[0], p[1], p[2]);
    }
    world->addElement(kKindAsteroid)->setHealth(0.0f); // dead: left out
    world->addElement(kKindExplosion);                 // no model: left out

    testsupport::DebugCapture log;
    pressKey('V');
    HandleKeys(*app);
    pressKey('V');
    HandleKeys(*app);

    // Three living rocks twice, numbered on; newest in front: the last rock made is dumped first.
    EXPECT_EQ(log.count("<OBJECT type=\"data/model/asteroid.ms3d\" objid=\"obj"), 6);
    EXPECT_TRUE(log.contains(
        "<OBJECT type=\"data/model/asteroid.ms3d\" objid=\"obj2\" x=\"1.500000\" y=\"2.000000\" "
        "z=\"-3.250000\"/>\n<OBJECT type=\"data/model/asteroid.ms3d\" objid=\"obj3\" "
        "x=\"100.000000\" y=\"-50.000000\" z=\"-700.000000\"/>\n"));
}

TEST_F(KeyTableTest, HeldTurnKeysGrowTheTurnRateThrustAndFireReachTheShip) {
    app->lastFrameTime = 0.0; // before the first timed frame: no growth
    pressKey('S');
    pressKey('I');
    HandleKeys(*app);
    EXPECT_DOUBLE_EQ(app->pPlayer->getTurnRate(), 0.5);
    app->lastFrameTime = 0.5;
    HandleKeys(*app);
    EXPECT_DOUBLE_EQ(app->pPlayer->getTurnRate(), 2.0);
    releaseKey('S');
    HandleKeys(*app);
    EXPECT_DOUBLE_EQ(app->pPlayer->getTurnRate(), 0.5) << "dropped when released";

    app->pPlayer->update(10.0); // 10 time units: the guns are ready too
    EXPECT_DOUBLE_EQ(app->pPlayer->getSpeed(), 10.0);
    pressKey('U');
    HandleKeys(*app);
    EXPECT_EQ(count<Fugenmasse>(), 1);
    EXPECT_FALSE(app->keyDown['U']) << "one shot per press";
}

TEST_F(KeyTableTest, ADeadShipIgnoresFlightKeysButDebugKeysStillWork) {
    app->pPlayer->setHealth(0.0f);
    app->pPlayer->update(20.0);
    for (unsigned key :
         {unsigned('I'), unsigned('S'), unsigned('U'), platform::VK_SPACE, unsigned('B')}) {
        pressKey(key);
    }
    app->lastFrameTime = 0.5;
    HandleKeys(*app);
    app->pPlayer->update(1.0);
    EXPECT_DOUBLE_EQ(app->pPlayer->getSpeed(), 0.0);
    EXPECT_DOUBLE_EQ(app->pPlayer->getTurnRate(), 0.5);
    EXPECT_EQ(count<Fugenmasse>(), 0);
    EXPECT_TRUE(app->keyDown['U']); // a gated one-shot key waits
    EXPECT_EQ(count<EnemyFighter>(), 1);
    EXPECT_EQ(count<Asteroid>(), 1);
}

TEST_F(KeyTableTest, TheKeysCardHoldsTheWorldAndListsTheKeysInEffect) {
    KeyBindings keys;
    keys.setKeyboardKeys(KeyAction::Fire, {'U', 'L'}); // as the settings file adds one
    app->keys = keys;
    pressKey(platform::VK_F1);
    pressKey('I');
    HandleKeys(*app);
    app->pPlayer->update(1.0);
    EXPECT_TRUE(app->keysCardShown && app->worldHeld());
    EXPECT_DOUBLE_EQ(app->pPlayer->getSpeed(), 0.0) << "flight keys wait while the card shows";

    const std::vector<std::string> plain = KeysCardLines(keys, false);
    const std::vector<std::string> pad = KeysCardLines(keys, true);
    auto lineOf = [](const std::vector<std::string>& lines, const std::string& what) {
        for (const std::string& line : lines) {
            if (line.find(what) != std::string::npos) {
                return line;
            }
        }
        return std::string();
    };
    EXPECT_EQ(lineOf(plain, "  fire"), "U, L      fire");
    EXPECT_EQ(lineOf(pad, "  fire"), "U, L      fire                    right trigger");
    EXPECT_EQ(lineOf(pad, "pause"), "P, PAUSE  pause / go on           Start");
    EXPECT_EQ(lineOf(plain, "stick"), "") << "the pad's controls only with a pad plugged in";
    EXPECT_NE(lineOf(plain, "Debug keys:"), "");
    EXPECT_NE(lineOf(plain, "SPACE spawns a fighter"), "");

    pressKey(platform::VK_F1);
    HandleKeys(*app);
    EXPECT_FALSE(app->worldHeld());
}

} // namespace
} // namespace apptest
