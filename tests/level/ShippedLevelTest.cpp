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
    const std::map<std::string, std::pair<std::size_t, float>> designed = {
        // Model: how many, radius in world units.
        {"semmel", {5, 40.0f}},
        {"asteroid", {53, 20.0f}},
        {"bonus2", {15, 10.0f}},
        {"knacker", {1, 50.0f}}};
    std::set<std::string> ids;
    std::size_t placed = 0;
    for (const auto& [model, kind] : designed) {
        EXPECT_EQ(ofModel(model).size(), kind.first) << model;
        for (Object3D* element : ofModel(model)) {
            EXPECT_FLOAT_EQ(element->getRadius(), kind.second) << element->getObjId();
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
