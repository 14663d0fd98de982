// A fresh world per test on the shared GL context, and small stand-in elements whose updates
// and draws the tests can watch.
#pragma once

#include "tests/support/GLTestContext.h"
#include "world/ElementContainer.h"

#include <string>
#include <vector>

namespace testsupport {

class WorldTest : public GLTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Clears the frame, draws the world and reads the picture back.
    std::vector<std::uint8_t> drawWorld();
    ElementContainer* world = nullptr;
};

// An element that records its updates and draws by name into a shared log.
class ProbeElement : public Object3D {
public:
    ProbeElement(ElementContainer* container, std::string name, std::vector<std::string>* log);
    void update(double t) override;
    void init() override {}
    void draw() override;
    void sortByDistance() { bSortByDistance = true; }

    std::string name;
    std::vector<std::string>* log;
    double lastUpdate = -1.0;
    int updates = 0;
};

// A stand-in for the player's ship: an Element3D the container knows but does not hold.
class PlayerStandIn : public Element3D {
public:
    explicit PlayerStandIn(ElementContainer* container);
    void update(double) override {}
};

} // namespace testsupport
