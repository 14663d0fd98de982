// The world's list: filing, the per-frame update with elements born during it, deletion of the
// dead, draw order, the collision rule and the pool that keeps the memory of the dead.
#include "tests/support/WorldFixture.h"
#include "world/ElementPool.h"

using testsupport::PlayerStandIn;
using testsupport::ProbeElement;
using testsupport::WorldTest;

namespace {

using Names = std::vector<std::string>;

class ContainerTest : public WorldTest {
protected:
    ProbeElement* add(const std::string& name, bool atBack = false, float health = 1.0f) {
        ProbeElement* probe = addProbe(name, atBack, &log);
        probe->setHealth(health);
        probe->setPos(1000.0f * world->size(), 0, 0); // out of each other's reach
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

// Files one element at each end of the list during its first update, as a firing fighter or a
// hit shot does.
class Spawner : public ProbeElement {
public:
    using ProbeElement::ProbeElement;
    void update(double t) override {
        ProbeElement::update(t);
        if (updates == 1) {
            ElementContainer* world = getContainer();
            world->file(std::make_unique<ProbeElement>(world, "front", log), false)
                ->setPos(0, -5000, 0);
            world->file(std::make_unique<ProbeElement>(world, "back", log), true)
                ->setPos(0, 0, 5000);
        }
    }
};

} // namespace

TEST_F(ContainerTest, ElementsBornAtTheBackDuringAPassAreUpdatedInItThoseInFrontAreNot) {
    add("first");
    add("last", true);
    world->file(std::make_unique<Spawner>(world, "spawner", &log), false)->setPos(0, 5000, 0);
    world->update(0.05);
    EXPECT_EQ(log, (Names{"update spawner", "update first", "update last", "update back"}));
    EXPECT_EQ(names(), (Names{"front", "spawner", "first", "last", "back"}))
        << "every element filed at the front precedes every one filed at the back";
    EXPECT_DOUBLE_EQ(all<ProbeElement>()[1]->lastUpdate, 1.0) << "20 time units per second";
}

TEST_F(ContainerTest, HealthExactlyZeroIsNeitherDrawnNorKeptButThePlayerIsNeverDeleted) {
    PlayerStandIn player(world);
    player.setHealth(-5.0f); // not the container's to delete
    add("alive", false, 0.001f);
    add("dead", false, 0.0f);
    world->draw();
    EXPECT_EQ(log, (Names{"draw alive"}));
    world->update(0.05);
    EXPECT_EQ(names(), (Names{"alive"}));
    EXPECT_EQ(world->getPlayer(), &player);
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

// Collision: 40 damage each, speeds reversed. (Where two touch is the collision pass test's.)

TEST_F(ContainerTest, ContactReversesSpeedAndTheOneBroughtToZeroGoesTheSameFrame) {
    ProbeElement* sturdy = add("sturdy", false, 100.0f);
    ProbeElement* frail = add("frail", false, 40.0f);
    frail->setPos(0, 0, 0);
    sturdy->setPos(0, 0, 0);
    sturdy->setSpeed(5.0);
    world->update(0.01);
    EXPECT_DOUBLE_EQ(sturdy->getSpeed(), -5.0);
    EXPECT_FLOAT_EQ(sturdy->getHealth(), 60.0f);
    EXPECT_EQ(names(), (Names{"sturdy"}));
}

TEST_F(ContainerTest, EachTouchingActivePairMeetsOncePerPassThePlayerIncluded) {
    PlayerStandIn player(world);
    player.setHealth(1000.0f);
    for (const char* name : {"a", "b", "ghost"}) {
        add(name, false, 1000.0f)->setPos(0, 0, 0);
    }
    all<ProbeElement>()[0]->setActive(false);
    testsupport::DebugCapture capture;
    world->collide();
    EXPECT_EQ(capture.count("Kollision\n"), 3) << "a-b, a-player, b-player";
    EXPECT_FLOAT_EQ(all<ProbeElement>()[0]->getHealth(), 1000.0f) << "inactive: never collides";
    EXPECT_FLOAT_EQ(player.getHealth(), 920.0f);
}

TEST(ElementPool, KeepsRoomForAsManyElementsAsAskedAndNoMore) {
    ElementPool pool;
    pool.reserve<testsupport::ProbeElement>(3);
    EXPECT_EQ(pool.kept(), 3u);
}

TEST_F(ContainerTest, TheShotsAndEffectsOfAFightReuseTheMemoryOfTheDead) {
    // A smoke puff dies and the next one is made in its place, as are a shield and a shot;
    // made afresh, with the list no longer for it.
    for (int kind : {kKindSmokeCloud, kKindShield, kKindLaserProjectile}) {
        Object3D* first = world->addElement(kind);
        first->setHealth(0.0f);
        world->update(0.0);
        const std::size_t before = world->size();
        Object3D* next = world->addElement(kind);
        EXPECT_EQ(next, first) << "kind " << kind;
        EXPECT_EQ(world->size(), before + 1);
        EXPECT_GT(next->getHealth(), 0.0f) << "kind " << kind << " made afresh";
        next->setHealth(0.0f);
        world->update(0.0);
    }
}
