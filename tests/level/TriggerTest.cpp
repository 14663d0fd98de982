// Triggers from the level file: which TRIGGER children are attached, to which slot, and which
// end the level when their object is destroyed.
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
    // Rams the object until the container has removed it.
    void destroy(Object3D* element) {
        while (element->getHealth() > 0.0f) {
            element->hit(kCollisionDamage);
        }
        world->update(0.0);
    }
};

} // namespace

TEST_F(TriggerTest, OnlyAnExactDeathCauseWithTheEndlevelEventEverEndsTheLevel) {
    const struct {
        const char* triggers;
        bool refused;      // an unknown cause: a log line, no trigger
        int death, nearby; // the event in each slot; -2 for an empty slot
        bool ends;
    } cases[] = {
        {R"(<TRIGGER cause="death" event="endlevel"/>)", false, kTriggerEventEndLevel, -2, true},
        {R"(<TRIGGER cause="proximity" event="endlevel" radius="300">near<b/>it</TRIGGER>)", false,
         -2, kTriggerEventEndLevel, false},
        {R"(<TRIGGER cause="Death" event="endlevel"/>)", true, -2, -2, false},
        {R"(<TRIGGER cause="death " event="endlevel"/>)", true, -2, -2, false},
        {R"(<TRIGGER cause="" event="endlevel"/>)", true, -2, -2, false},
        {R"(<TRIGGER event="endlevel"/>)", true, -2, -2, false},
        {R"(<TRIGGER cause="death"/>)", false, kTriggerUnset, -2, false},
        {R"(<TRIGGER cause="death" event="EndLevel"/>)", false, kTriggerUnset, -2, false},
        {R"(<TRIGGER cause="death" event="endlevel"/><TRIGGER cause="death"/>)", false,
         kTriggerUnset, -2, false},
        {R"(<TRIGGER cause="death"/><TRIGGER cause="death" event="endlevel"/>)", false,
         kTriggerEventEndLevel, -2, true}, // the later one replaces the first
        // Only elements named TRIGGER in capitals count, whatever their content.
        {R"(<trigger cause="death" event="endlevel"/>
            <!-- <TRIGGER cause="death" event="endlevel"/> -->
            <Trigger cause="death" event="endlevel"/><NOTE>TRIGGER</NOTE>)",
         false, -2, -2, false},
    };
    auto event = [](const Trigger* t) { return t != nullptr ? t->getEvent() : -2; };
    for (const auto& c : cases) {
        world->bLevelEnded = false;
        ASSERT_TRUE(loadLevel(levelWithTriggers(c.triggers)));
        Object3D* goal = find("goal");
        ASSERT_NE(goal, nullptr);
        EXPECT_EQ(log.find("Element3D::setTrigger(): unknown trigger value\n") != std::string::npos,
                  c.refused)
            << c.triggers;
        EXPECT_EQ(event(goal->getDeathTrigger()), c.death) << c.triggers;
        EXPECT_EQ(event(goal->getProximityTrigger()), c.nearby) << c.triggers;
        destroy(find("bystander"));
        EXPECT_FALSE(world->bLevelEnded) << "another object's death does nothing";
        destroy(goal);
        EXPECT_EQ(world->bLevelEnded, c.ends) << c.triggers;
    }
}
