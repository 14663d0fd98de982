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

TEST_F(TriggerTest, AProximityTriggerIsKeptButNeverEndsTheLevel) {
    ASSERT_TRUE(loadLevel(levelWithTriggers(R"(<TRIGGER cause="proximity" event="endlevel"/>)")));
    ASSERT_NE(goal()->getProximityTrigger(), nullptr);
    EXPECT_EQ(goal()->getProximityTrigger()->getEvent(), kTriggerEventEndLevel);
    EXPECT_EQ(goal()->getDeathTrigger(), nullptr);
    destroy(goal());
    EXPECT_FALSE(world->bLevelEnded);
}

TEST_F(TriggerTest, CausesAreMatchedExactlyAndOthersAreRefusedWithALogLine) {
    for (const char* trigger : {R"(<TRIGGER cause="Death" event="endlevel"/>)",
                                R"(<TRIGGER cause="death " event="endlevel"/>)",
                                R"(<TRIGGER cause="" event="endlevel"/>)",
                                R"(<TRIGGER event="endlevel"/>)", R"(<TRIGGER/>)"}) {
        world->bLevelEnded = false;
        ASSERT_TRUE(loadLevel(levelWithTriggers(trigger)));
        Object3D* newest = world->begin()->get(); // filed at the front; the goal comes next
        Object3D* target = std::next(world->begin())->get();
        ASSERT_EQ(newest->getObjId(), "bystander");
        ASSERT_EQ(target->getObjId(), "goal");
        EXPECT_NE(log.find("Element3D::setTrigger(): unknown trigger value\n"), std::string::npos)
            << trigger;
        EXPECT_EQ(target->getDeathTrigger(), nullptr) << trigger;
        EXPECT_EQ(target->getProximityTrigger(), nullptr) << trigger;
        destroy(target);
        EXPECT_FALSE(world->bLevelEnded) << trigger;
        destroy(newest);
    }
}

TEST_F(TriggerTest, ADeathTriggerWithoutARecognisedEventIsAttachedButDoesNothing) {
    for (const char* trigger :
         {R"(<TRIGGER cause="death"/>)", R"(<TRIGGER cause="death" event="EndLevel"/>)",
          R"(<TRIGGER cause="death" event="explode"/>)"}) {
        world->bLevelEnded = false;
        ASSERT_TRUE(loadLevel(levelWithTriggers(trigger)));
        ASSERT_NE(goal()->getDeathTrigger(), nullptr) << trigger;
        EXPECT_EQ(goal()->getDeathTrigger()->getEvent(), kTriggerUnset) << trigger;
        destroy(goal());
        EXPECT_FALSE(world->bLevelEnded) << trigger;
        destroy(find("bystander"));
    }
}

TEST_F(TriggerTest, OfTwoDeathTriggersTheSecondReplacesTheFirst) {
    ASSERT_TRUE(loadLevel(levelWithTriggers(R"(<TRIGGER cause="death" event="endlevel"/>
                                               <TRIGGER cause="death"/>)")));
    EXPECT_EQ(goal()->getDeathTrigger()->getEvent(), kTriggerUnset);
    destroy(goal());
    EXPECT_FALSE(world->bLevelEnded) << "the endlevel trigger was replaced";
    destroy(find("bystander"));

    ASSERT_TRUE(loadLevel(levelWithTriggers(R"(<TRIGGER cause="death"/>
                                               <TRIGGER cause="death" event="endlevel"/>)")));
    destroy(goal());
    EXPECT_TRUE(world->bLevelEnded) << "the later endlevel trigger replaced the first";
}

TEST_F(TriggerTest, OnlyElementsNamedTriggerInCapitalsCountWhateverTheirContent) {
    ASSERT_TRUE(loadLevel(levelWithTriggers(
        R"(<trigger cause="death" event="endlevel"/>
           <!-- <TRIGGER cause="death" event="endlevel"/> -->
           <Trigger cause="death" event="endlevel"/>
           <NOTE>TRIGGER</NOTE>
           <TRIGGER cause="proximity" event="endlevel" radius="300">near<b/>the goal</TRIGGER>)")));
    EXPECT_EQ(goal()->getDeathTrigger(), nullptr);
    ASSERT_NE(goal()->getProximityTrigger(), nullptr) << "other attributes and content are ignored";
    destroy(goal());
    EXPECT_FALSE(world->bLevelEnded);
}

TEST_F(TriggerTest, TriggersOnAKnackerSurviveItsTwelveContactsAndFireOnTheThirteenth) {
    ASSERT_TRUE(loadLevel(R"(<LEVEL><OBJECT type="OBJ3D_KNACKER" objid="boss" z="-900">
                               <TRIGGER event="endlevel" cause="death"/>
                             </OBJECT></LEVEL>)"));
    Object3D* boss = find("boss");
    ASSERT_NE(boss, nullptr);
    for (int contact = 1; contact <= 12; ++contact) {
        boss->hit(kCollisionDamage);
    }
    EXPECT_FALSE(world->bLevelEnded);
    boss->hit(kCollisionDamage);
    EXPECT_TRUE(world->bLevelEnded);
}
