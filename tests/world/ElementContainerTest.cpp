// The world's list: filing, the per-frame update, deletion of the dead, draw order and the
// collision rule.
#include "tests/support/WorldFixture.h"

#include <cmath>

using testsupport::PlayerStandIn;
using testsupport::ProbeElement;
using testsupport::WorldTest;

namespace {

class ContainerTest : public WorldTest {
protected:
    ProbeElement* add(const std::string& name, bool atBack = false) {
        return static_cast<ProbeElement*>(
            world->file(std::make_unique<ProbeElement>(world, name, &log), atBack));
    }
    std::vector<std::string> names() {
        std::vector<std::string> result;
        for (auto& element : *world) {
            result.push_back(static_cast<ProbeElement*>(element.get())->name);
        }
        return result;
    }
    std::vector<std::string> log;
};

using Names = std::vector<std::string>;

} // namespace

TEST_F(ContainerTest, EveryCallGivesTheSameWorld) {
    EXPECT_EQ(ElementContainer::getInstance(), world);
    EXPECT_EQ(ElementContainer::getInstance(), ElementContainer::getInstance());
}

TEST_F(ContainerTest, LevelTypeNamesMapToKinds) {
    EXPECT_EQ(world->kindOf("OBJ3D_FIGHTER"), kKindFighter);
    EXPECT_EQ(world->kindOf("OBJ3D_KNACKER"), kKindKnacker);
    EXPECT_EQ(world->kindOf("OBJ3D_WURSTSEMMEL"), kKindWurstSemmel);
    EXPECT_EQ(world->kindOf("OBJ3D_SMOKE"), kKindNotFound);
    EXPECT_EQ(world->kindOf("obj3d_fighter"), kKindNotFound);
    EXPECT_EQ(world->kindNames.size(), 9u);
}

TEST_F(ContainerTest, FrontFiledElementsAlwaysPrecedeBackFiledOnes) {
    add("effect1", true);
    add("solid1");
    add("effect2", true);
    add("solid2");
    EXPECT_EQ(names(), (Names{"solid2", "solid1", "effect1", "effect2"}));
}

TEST_F(ContainerTest, UpdateHandsOutTwentyTimeUnitsPerSecond) {
    ProbeElement* probe = add("probe");
    world->update(0.05);
    EXPECT_DOUBLE_EQ(probe->lastUpdate, 1.0);
}

TEST_F(ContainerTest, DeadElementsAreDeletedInTheSameUpdateAndNeverDrawn) {
    add("alive")->setHealth(0.001f);
    ProbeElement* dead = add("dead");
    dead->setHealth(0.0f);
    dead->setPos(100, 0, 0);
    world->draw();
    EXPECT_EQ(log, (Names{"draw alive"})) << "health exactly 0 is not drawn";
    world->update(0.01);
    EXPECT_EQ(names(), (Names{"alive"}));
}

TEST_F(ContainerTest, SortedElementsComeLastNearestFirst) {
    PlayerStandIn player(world);
    ProbeElement* far = add("far", true);
    far->sortByDistance();
    far->setPos(20, 0, 0); // squared distance 400
    ProbeElement* near = add("near", true);
    near->sortByDistance();
    near->setPos(0, 10, 0); // squared distance 100
    add("solid", true);
    world->draw();
    EXPECT_EQ(log, (Names{"draw solid", "draw near", "draw far"}));
}

TEST_F(ContainerTest, ThePlayerIsNeitherHeldNorDrawnNorDeleted) {
    PlayerStandIn player(world);
    add("rock")->setPos(100, 0, 0);
    player.setHealth(-5.0f);
    world->update(0.05);
    EXPECT_EQ(world->getPlayer(), &player);
    EXPECT_EQ(world->size(), 1u);
}

TEST_F(ContainerTest, UnknownKindsEndTheProgram) {
    for (int kind : {0, 6, 13}) {
        EXPECT_EXIT(world->addElement(kind), ::testing::ExitedWithCode(1),
                    "ElementContainer::addElement\\(\\): Unknown Element\n")
            << "kind " << kind;
    }
}

TEST_F(ContainerTest, ModelBackedKindsAreFiledWithTheirValues) {
    Object3D* asteroid = world->addElement(kKindAsteroid);
    Object3D* knacker = world->addElement(kKindKnacker);
    Object3D* bonus = world->addElement(kKindBonus);
    EXPECT_FLOAT_EQ(asteroid->getHealth(), 100.0f);
    EXPECT_FLOAT_EQ(asteroid->getRadius(), 20.0f);
    EXPECT_FLOAT_EQ(asteroid->getScale(1), 6.0f);
    EXPECT_FLOAT_EQ(asteroid->getRadarColor(0), 0.5f);
    EXPECT_FLOAT_EQ(knacker->getHealth(), 500.0f);
    EXPECT_FLOAT_EQ(knacker->getRadius(), 50.0f);
    EXPECT_NEAR(knacker->getView(0), -1.0f, 1e-6) << "turned a quarter about its up axis";
    EXPECT_FLOAT_EQ(knacker->getRadarColor(0), 1.0f);
    EXPECT_FLOAT_EQ(bonus->getHealth(), 100.0f);
    EXPECT_FLOAT_EQ(bonus->getRadius(), 10.0f);
    EXPECT_EQ(bonus->getModelFile(), "data/model/bonus2.ms3d");
    EXPECT_EQ(world->begin()->get(), bonus) << "the newest solid object leads the list";
}

// Collision: squared distance against r1^2 + r2^2, 40 damage each, speeds reversed.

TEST_F(ContainerTest, DefaultElementsTouchBelowTheRootOfTwoHundred) {
    ProbeElement* a = add("a");
    ProbeElement* b = add("b");
    a->setHealth(100.0f);
    b->setHealth(100.0f);
    b->setPos(15, 0, 0);
    world->collide();
    EXPECT_FLOAT_EQ(a->getHealth(), 100.0f) << "15 apart is beyond sqrt(200)";
    b->setPos(14, 0, 0);
    testsupport::DebugCapture capture;
    world->collide();
    EXPECT_EQ(capture.text(), "Kollision\n");
    EXPECT_FLOAT_EQ(a->getHealth(), 60.0f);
    EXPECT_FLOAT_EQ(b->getHealth(), 60.0f);
}

TEST_F(ContainerTest, ShipAndFighterTouchBelowFiftyNotSeventy) {
    PlayerStandIn player(world);
    player.setRadius(30.0f);
    player.setHealth(300.0f);
    ProbeElement* fighter = add("fighter");
    fighter->setRadius(40.0f);
    fighter->setHealth(100.0f);
    fighter->setPos(0, 0, -50);
    world->collide();
    EXPECT_FLOAT_EQ(player.getHealth(), 300.0f) << "exactly 50 apart does not touch";
    fighter->setPos(0, 0, -49.9f);
    world->collide();
    EXPECT_FLOAT_EQ(player.getHealth(), 260.0f);
    EXPECT_FLOAT_EQ(fighter->getHealth(), 60.0f);
}

TEST_F(ContainerTest, ContactReversesSpeedAndRepeatsUntilOneIsGone) {
    ProbeElement* sturdy = add("sturdy");
    ProbeElement* frail = add("frail");
    sturdy->setHealth(100.0f);
    sturdy->setSpeed(5.0);
    frail->setHealth(40.0f);
    world->update(0.01);
    EXPECT_DOUBLE_EQ(sturdy->getSpeed(), -5.0);
    EXPECT_EQ(names(), (Names{"sturdy"})) << "40 damage takes 40 health to 0: deleted this frame";

    ProbeElement* other = add("other");
    other->setHealth(1000.0f);
    world->update(0.01);
    EXPECT_FLOAT_EQ(sturdy->getHealth(), 20.0f);
    world->update(0.01);
    EXPECT_EQ(names(), (Names{"other"})) << "the third contact finishes a 100-health element";
}

TEST_F(ContainerTest, InactiveElementsNeverCollide) {
    PlayerStandIn player(world);
    ProbeElement* ghost = add("ghost");
    add("rock");
    ghost->setActive(false);
    testsupport::DebugCapture capture;
    world->collide();
    EXPECT_EQ(capture.text(), "Kollision\n") << "only the rock meets the ship";
    EXPECT_FLOAT_EQ(ghost->getHealth(), 1.0f);
}

TEST_F(ContainerTest, EachTouchingPairLogsOncePerPass) {
    PlayerStandIn player(world);
    player.setHealth(1000.0f);
    add("a")->setHealth(1000.0f);
    add("b")->setHealth(1000.0f);
    testsupport::DebugCapture capture;
    world->collide();
    // a-b, then a-player and b-player.
    EXPECT_EQ(capture.text(), "Kollision\nKollision\nKollision\n");
}
