// The level the game ships with, loaded from the run directory: what its design promises, the
// objects of each kind and the one way to win.
#include "level/Trigger.h"
#include "tests/level/LevelFileTest.h"

#include <map>
#include <set>

using leveltest::LevelFileTest;

namespace {

class ShippedLevelTest : public LevelFileTest {
protected:
    void SetUp() override {
        LevelFileTest::SetUp();
        ASSERT_TRUE(loadFile("data/levels/level.xml")) << log;
    }
    // The placed objects of one model, shields (which have none) left out.
    std::vector<Object3D*> ofModel(const std::string& model) {
        std::vector<Object3D*> result;
        for (Object3D* element : all()) {
            if (element->getModelFile() == "data/model/" + model + ".ms3d") {
                result.push_back(element);
            }
        }
        return result;
    }
};

} // namespace

TEST_F(ShippedLevelTest, ItPlacesTheDesignedObjectsOfEachKindWithoutAComplaint) {
    for (const std::string& line : loaderLines()) {
        EXPECT_TRUE(line.find(' ') == std::string::npos || line == "Iterating level Elements")
            << "a complaint: " << line;
    }
    // How many of each model, each with an objid of its own; only fighters carry shields.
    const std::map<std::string, std::size_t> designed = {
        {"semmel", 5}, {"asteroid", 53}, {"bonus2", 15}, {"knacker", 1}};
    std::set<std::string> ids;
    std::size_t placed = 0;
    for (const auto& [model, count] : designed) {
        EXPECT_EQ(ofModel(model).size(), count) << model;
        for (Object3D* element : ofModel(model)) {
            EXPECT_TRUE(ids.insert(element->getObjId()).second)
                << "objid " << element->getObjId() << " is used twice";
            EXPECT_EQ(element->getShield() != nullptr, model == "semmel") << element->getObjId();
            ++placed;
        }
    }
    EXPECT_EQ(world->size(), placed + ofModel("semmel").size()) << "nothing else but shields";
}

TEST_F(ShippedLevelTest, DestroyingTheKnackerIsTheOneWayToWin) {
    std::vector<Object3D*> withEndlevel;
    for (Object3D* element : all()) {
        EXPECT_EQ(element->getProximityTrigger(), nullptr) << element->getObjId();
        const Trigger* trigger = element->getDeathTrigger();
        if (trigger != nullptr && trigger->getEvent() == kTriggerEventEndLevel) {
            withEndlevel.push_back(element);
        }
    }
    EXPECT_EQ(withEndlevel, ofModel("knacker"));
}
