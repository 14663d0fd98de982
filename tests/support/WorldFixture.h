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
    // The elements of one class in the world, front to back, and how many there are.
    template <typename T = Object3D> std::vector<T*> all() const {
        std::vector<T*> found;
        for (auto& element : *world) {
            if (auto* t = dynamic_cast<T*>(element.get())) {
                found.push_back(t);
            }
        }
        return found;
    }
    template <typename T> int count() const { return static_cast<int>(all<T>().size()); }
    ElementContainer* world = nullptr;
};

// Expects one of an element's vectors (&Element3D::getPos, getView, getUp, ...) near (x, y, z).
void expectVector(const Element3D& e, float (Element3D::*vector)(int) const, float x, float y,
                  float z, double tolerance = 1e-4);
// Expects two elements to stand turned alike, entry by entry of their matrices.
void expectSameMatrix(const Element3D& a, const Element3D& b, double tolerance = 1e-5);

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
