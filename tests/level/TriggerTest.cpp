// Triggers from the level file: which TRIGGER children are attached, to which slot, and that an
// endlevel death trigger ends the level exactly when its object is destroyed.
#include "level/Trigger.h"
#include "tests/level/LevelFileTest.h"

using leveltest::LevelFileTest;

namespace {

const float kCollisionDamage = 40.0f; // what one contact deals

// A level with one asteroid (health 100) carrying the given TRIGGER children, and a bystander.
std::string levelWithTriggers(const std::string& triggers) {
    return "<LEVEL>\n"
           "  <OBJECT type=\"OBJ3D_ASTEROID\" objid=\"goal\" x=\"0\" y=\"0\" z=\"-600\">\n" +
           triggers +
           "  </OBJECT>\n"
           "  <OBJECT type=\"OBJ3D_ASTEROID\" objid=\"bystander\" x=\"300\" y=\"0\" z=\"-600\"/>\n"
           "</LEVEL>\n";
}

class TriggerTest : public LevelFileTest {
protected:
    Object3D* goal() { return find("goal"); }
    // Rams the object until the container has removed it.
    void destroy(Object3D* element) {
        while (element->getHealth() > 0.0f) {
            element->hit(kCollisionDamage);
        }
        world->update(0.0);
    }
};

} // namespace

TEST_F(TriggerTest, AnEndlevelDeathTriggerEndsTheLevelOnlyWhenItsObjectDies) {
    ASSERT_TRUE(loadLevel(levelWithTriggers(R"(<TRIGGER cause="death" event="endlevel"/>)")));
    ASSERT_NE(goal(), nullptr);
    ASSERT_NE(goal()->getDeathTrigger(), nullptr);

    destroy(find("bystander"));
    EXPECT_FALSE(world->bLevelEnded) << "another object's death does nothing";

    goal()->hit(kCollisionDamage);
    goal()->hit(kCollisionDamage);
    world->update(0.0);
    EXPECT_FLOAT_EQ(goal()->getHealth(), 20.0f);
    EXPECT_FALSE(world->bLevelEnded) << "damaged but alive";

    goal()->hit(kCollisionDamage);
    EXPECT_TRUE(world->bLevelEnded) << "the third contact destroys it";
    world->update(0.0);
    EXPECT_EQ(goal(), nullptr) << "and the world removes it";
    EXPECT_TRUE(world->bLevelEnded);
}

TEST_F(TriggerTest, AProximityTriggerIsKeptWhateverItsContentButNeverEndsTheLevel) {
    ASSERT_TRUE(loadLevel(levelWithTriggers(
        R"(<TRIGGER cause="proximity" event="endlevel" radius="300">near<b/>the goal</TRIGGER>)")));
    ASSERT_NE(goal()->getProximityTrigger(), nullptr);
    EXPECT_EQ(goal()->getProximityTrigger()->getEvent(), kTriggerEventEndLevel);
    EXPECT_EQ(goal()->getDeathTrigger(), nullptr);
    destroy(goal());
    EXPECT_FALSE(world->bLevelEnded);
}

TEST_F(TriggerTest, OnlyAnExactDeathCauseWithTheEndlevelEventEverEndsTheLevel) {
    const struct {
        const char* triggers;
        bool refused;  // an unknown cause: a log line, no trigger
        bool attached; // a death trigger that does nothing
    } cases[] = {
        {R"(<TRIGGER cause="Death" event="endlevel"/>)", true, false},
        {R"(<TRIGGER cause="death " event="endlevel"/>)", true, false},
        {R"(<TRIGGER cause="" event="endlevel"/>)", true, false},
        {R"(<TRIGGER event="endlevel"/>)", true, false},
        {R"(<TRIGGER/>)", true, false},
        {R"(<TRIGGER cause="death"/>)", false, true},
        {R"(<TRIGGER cause="death" event="EndLevel"/>)", false, true},
        {R"(<TRIGGER cause="death" event="explode"/>)", false, true},
        {R"(<TRIGGER cause="death" event="endlevel"/><TRIGGER cause="death"/>)", false, true},
        // Only elements named TRIGGER in capitals count, whatever their content.
        {R"(<trigger cause="death" event="endlevel"/>
            <!-- <TRIGGER cause="death" event="endlevel"/> -->
            <Trigger cause="death" event="endlevel"/><NOTE>TRIGGER</NOTE>)",
         false, false},
    };
    for (const auto& c : cases) {
        world->bLevelEnded = false;
        ASSERT_TRUE(loadLevel(levelWithTriggers(c.triggers)));
        Object3D* target = goal();
        ASSERT_NE(target, nullptr);
        EXPECT_EQ(log.find("Element3D::setTrigger(): unknown trigger value\n") != std::string::npos,
                  c.refused)
            << c.triggers;
        EXPECT_EQ(target->getDeathTrigger() != nullptr, c.attached) << c.triggers;
        if (c.attached) {
            EXPECT_EQ(target->getDeathTrigger()->getEvent(), kTriggerUnset) << c.triggers;
        }
        EXPECT_EQ(target->getProximityTrigger(), nullptr) << c.triggers;
        destroy(target);
        EXPECT_FALSE(world->bLevelEnded) << c.triggers;
        destroy(find("bystander"));
    }
    ASSERT_TRUE(loadLevel(levelWithTriggers(R"(<TRIGGER cause="death"/>
                                               <TRIGGER cause="death" event="endlevel"/>)")));
    destroy(goal());
    EXPECT_TRUE(world->bLevelEnded) << "the later endlevel trigger replaced the first";
}
