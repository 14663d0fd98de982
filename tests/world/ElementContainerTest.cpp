// The world's list: filing, the per-frame update, deletion of the dead, draw order and the
// collision rule.
#include "tests/support/WorldFixture.h"

using testsupport::PlayerStandIn;
using testsupport::ProbeElement;
using testsupport::WorldTest;

namespace {

using Names = std::vector<std::string>;

class ContainerTest : public WorldTest {
protected:
    ProbeElement* add(const std::string& name, bool atBack = false, float health = 1.0f) {
        auto* probe = static_cast<ProbeElement*>(
            world->file(std::make_unique<ProbeElement>(world, name, &log), atBack));
        probe->setHealth(health);
        return probe;
    }
    Names names() {
        Names result;
        for (ProbeElement* element : all<ProbeElement>()) {
            result.push_back(element->name);
        }
        return result;
    }
    Names log;
};

} // namespace

TEST_F(ContainerTest, FrontFiledElementsAlwaysPrecedeBackFiledOnes) {
    add("effect1", true);
    add("solid1");
    add("effect2", true);
    add("solid2");
    EXPECT_EQ(names(), (Names{"solid2", "solid1", "effect1", "effect2"}));
}

TEST_F(ContainerTest, UpdateHandsOutTwentyTimeUnitsPerSecondAndDeletesTheDeadUndrawn) {
    ProbeElement* alive = add("alive", false, 0.001f);
    add("dead", false, 0.0f)->setPos(100, 0, 0);
    world->draw();
    EXPECT_EQ(log, (Names{"draw alive"})) << "health exactly 0 is not drawn";
    world->update(0.05);
    EXPECT_DOUBLE_EQ(alive->lastUpdate, 1.0);
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
    EXPECT_EQ(log, (Names{"update rock"}));
}

// Collision: squared distance against r1^2 + r2^2, 40 damage each, speeds reversed.

TEST_F(ContainerTest, ElementsTouchBelowTheSumOfTheSquaredRadii) {
    const struct {
        float radiusA, radiusB, apart;
        bool touch;
    } cases[] = {{10, 10, 15, false},
                 {10, 10, 14, true}, // sqrt(200) = 14.14
                 {30, 40, 50, false},
                 {30, 40, 49.9f, true}}; // ship and fighter: 50, not 70
    // Each pair a thousand units from the next, all collided in one pass.
    std::vector<std::pair<ProbeElement*, ProbeElement*>> pairs;
    for (const auto& c : cases) {
        const float x = 1000.0f * pairs.size();
        pairs.emplace_back(add("a", false, 100.0f), add("b", false, 100.0f));
        pairs.back().first->setRadius(c.radiusA);
        pairs.back().first->setPos(x, 0, 0);
        pairs.back().second->setRadius(c.radiusB);
        pairs.back().second->setPos(x, 0, -c.apart);
    }
    testsupport::DebugCapture capture;
    world->collide();
    EXPECT_EQ(capture.count("Kollision\n"), 2);
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const float health = cases[i].touch ? 60.0f : 100.0f;
        EXPECT_FLOAT_EQ(pairs[i].first->getHealth(), health) << cases[i].apart << " apart";
        EXPECT_FLOAT_EQ(pairs[i].second->getHealth(), health) << cases[i].apart << " apart";
    }
}

TEST_F(ContainerTest, ContactReversesSpeedAndRepeatsUntilOneIsGone) {
    ProbeElement* sturdy = add("sturdy", false, 100.0f);
    add("frail", false, 40.0f);
    sturdy->setSpeed(5.0);
    world->update(0.01);
    EXPECT_DOUBLE_EQ(sturdy->getSpeed(), -5.0);
    EXPECT_EQ(names(), (Names{"sturdy"})) << "40 damage takes 40 health to 0: deleted this frame";

    add("other", false, 1000.0f);
    world->update(0.01);
    EXPECT_FLOAT_EQ(sturdy->getHealth(), 20.0f);
    world->update(0.01);
    EXPECT_EQ(names(), (Names{"other"})) << "the third contact finishes a 100-health element";
}

TEST_F(ContainerTest, EachTouchingActivePairMeetsOncePerPassThePlayerIncluded) {
    PlayerStandIn player(world);
    player.setHealth(1000.0f);
    add("a", false, 1000.0f);
    add("b", false, 1000.0f);
    ProbeElement* ghost = add("ghost");
    ghost->setActive(false);
    testsupport::DebugCapture capture;
    world->collide();
    EXPECT_EQ(capture.count("Kollision\n"), 3) << "a-b, a-player, b-player";
    EXPECT_FLOAT_EQ(ghost->getHealth(), 1.0f) << "inactive elements never collide";
    EXPECT_FLOAT_EQ(player.getHealth(), 920.0f);
}
