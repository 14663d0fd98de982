// The level the game ships with, loaded from the run directory: what its design promises (the
// objects of each kind, the one way to win, fighters that arrive one after another) and that
// nothing touches anything else, or the ship, when play starts.
#include "level/Trigger.h"
#include "tests/level/LevelFileTest.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

using leveltest::LevelFileTest;
using testsupport::PlayerStandIn;

namespace {

const char* const kShippedLevel = "data/levels/level.xml";

const float kShipRadius = 30.0f;          // world units, the player's ship
const double kFighterWakeDistance = 1000; // world units: fighters attack inside it
// Gap between the distances of two fighters from the start, so that they arrive apart.
const double kFighterSpacing = 1000; // world units: 7 s at a fighter's top speed

struct Kind {
    const char* name;
    float radius; // world units
    int designed; // how many the level places
};

// By model file; shields have none and are counted through their fighters.
const std::map<std::string, Kind> kKinds{
    {"data/model/semmel.ms3d", {"fighter", 40.0f, 5}},
    {"data/model/asteroid.ms3d", {"asteroid", 20.0f, 53}},
    {"data/model/bonus2.ms3d", {"bonus", 10.0f, 15}},
    {"data/model/knacker.ms3d", {"knacker", 50.0f, 1}},
};

// The collision rule: squared distance below the sum of the squared radii, all in float.
bool touches(const float* a, float ra, const float* b, float rb) {
    const float dx = a[0] - b[0];
    const float dy = a[1] - b[1];
    const float dz = a[2] - b[2];
    return dx * dx + dy * dy + dz * dz < ra * ra + rb * rb;
}

class ShippedLevelTest : public LevelFileTest {
protected:
    void SetUp() override {
        LevelFileTest::SetUp();
        ASSERT_TRUE(loadFile(kShippedLevel)) << log;
        for (Object3D* element : elements()) {
            if (element->getShield() != nullptr) {
                shields.insert(element->getShield());
            }
        }
    }
    bool isShield(Object3D* element) const { return shields.count(element) != 0; }
    std::vector<Object3D*> ofKind(const char* name) {
        std::vector<Object3D*> result;
        for (Object3D* element : elements()) {
            auto kind = kKinds.find(element->getModelFile());
            if (kind != kKinds.end() && std::string(kind->second.name) == name) {
                result.push_back(element);
            }
        }
        return result;
    }
    std::set<Object3D*> shields;
};

double distanceFromStart(const Element3D* element) {
    return std::sqrt(double(element->getPos(0)) * element->getPos(0) +
                     double(element->getPos(1)) * element->getPos(1) +
                     double(element->getPos(2)) * element->getPos(2));
}

} // namespace

TEST_F(ShippedLevelTest, ItLoadsWithoutAComplaint) {
    for (const std::string& line : loaderLines()) {
        EXPECT_TRUE(line == "Iterating level Elements" || line == "#text" || line == "#comment" ||
                    line == "OBJECT")
            << line;
    }
    EXPECT_EQ(log.find("unknown trigger value"), std::string::npos);
}

TEST_F(ShippedLevelTest, ItPlacesTheDesignedObjectsOfEachKind) {
    std::map<std::string, int> counted;
    std::set<std::string> ids;
    for (Object3D* element : elements()) {
        if (isShield(element)) {
            continue;
        }
        auto kind = kKinds.find(element->getModelFile());
        ASSERT_NE(kind, kKinds.end()) << element->getObjId() << ": " << element->getModelFile();
        ++counted[kind->second.name];
        EXPECT_FLOAT_EQ(element->getRadius(), kind->second.radius) << element->getObjId();
        EXPECT_TRUE(ids.insert(element->getObjId()).second)
            << "objid " << element->getObjId() << " is used twice";
    }
    for (const auto& entry : kKinds) {
        EXPECT_EQ(counted[entry.second.name], entry.second.designed) << entry.second.name;
    }
    EXPECT_EQ(shields.size(), ofKind("fighter").size()) << "every fighter starts shielded";
    for (Object3D* shield : shields) {
        EXPECT_FLOAT_EQ(shield->getRadius(), 40.0f);
    }
}

TEST_F(ShippedLevelTest, DestroyingTheKnackerIsTheOneWayToWin) {
    std::vector<Object3D*> withEndlevel;
    for (Object3D* element : elements()) {
        EXPECT_EQ(element->getProximityTrigger(), nullptr) << element->getObjId();
        const Trigger* trigger = element->getDeathTrigger();
        if (trigger != nullptr && trigger->getEvent() == kTriggerEventEndLevel) {
            withEndlevel.push_back(element);
        }
    }
    ASSERT_EQ(withEndlevel.size(), 1u);
    ASSERT_EQ(ofKind("knacker").size(), 1u);
    Object3D* knacker = ofKind("knacker")[0];
    EXPECT_EQ(withEndlevel[0], knacker);

    while (knacker->getHealth() > 0.0f) {
        EXPECT_FALSE(world->bLevelEnded);
        knacker->hit(40.0f);
    }
    EXPECT_TRUE(world->bLevelEnded);
}

TEST_F(ShippedLevelTest, FightersWaitOutOfReachAndArriveOneAfterAnother) {
    std::vector<double> distances;
    for (Object3D* fighter : ofKind("fighter")) {
        distances.push_back(distanceFromStart(fighter));
    }
    ASSERT_FALSE(distances.empty());
    std::sort(distances.begin(), distances.end());
    EXPECT_GT(distances.front(), kFighterWakeDistance + 500)
        << "the first fight starts only after the ship has set out";
    for (std::size_t i = 1; i < distances.size(); ++i) {
        EXPECT_GE(distances[i] - distances[i - 1], kFighterSpacing) << "fighter " << i;
    }
}

TEST_F(ShippedLevelTest, NothingTouchesAnythingElseOrTheShipAtTheStart) {
    const float start[3] = {0.0f, 0.0f, 0.0f};
    std::vector<Object3D*> placed;
    for (Object3D* element : elements()) {
        if (!isShield(element)) {
            placed.push_back(element);
        }
    }
    // A fighter's shield stands where its fighter stands, with the same radius.
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const float aPos[3] = {placed[i]->getPos(0), placed[i]->getPos(1), placed[i]->getPos(2)};
        EXPECT_FALSE(touches(aPos, placed[i]->getRadius(), start, kShipRadius))
            << placed[i]->getObjId() << " touches the ship at the start";
        for (std::size_t j = i + 1; j < placed.size(); ++j) {
            const float bPos[3] = {placed[j]->getPos(0), placed[j]->getPos(1),
                                   placed[j]->getPos(2)};
            EXPECT_FALSE(touches(aPos, placed[i]->getRadius(), bPos, placed[j]->getRadius()))
                << placed[i]->getObjId() << " touches " << placed[j]->getObjId();
        }
    }
}

TEST_F(ShippedLevelTest, TheFirstFrameCollidesNothing) {
    PlayerStandIn ship(world);
    ship.setRadius(kShipRadius);
    const std::size_t before = world->size();
    testsupport::DebugCapture capture;
    world->update(0.05);
    EXPECT_EQ(capture.text().find("Kollision"), std::string::npos);
    EXPECT_EQ(world->size(), before);
    EXPECT_FLOAT_EQ(ship.getHealth(), 1.0f);
    for (Object3D* shield : shields) {
        EXPECT_FLOAT_EQ(shield->getHealth(), 200.0f);
    }
}
