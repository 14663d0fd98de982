// A fresh world per test on the shared GL context, and small stand-in elements whose updates
// and draws the tests can watch.
#pragma once

#include "tests/support/GLTestContext.h"
#include "world/ElementContainer.h"

#include <GL/gl.h>

#include <string>
#include <vector>

namespace testsupport {

class ProbeElement;

class WorldTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        world = ElementContainer::getInstance();
    }
    void TearDown() override {
        delete ElementContainer::getInstance();
        world = nullptr;
        GLTest::TearDown();
    }
    // Clears the frame, draws the world and reads the picture back.
    std::vector<std::uint8_t> drawWorld() {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        world->draw();
        glFinish();
        return readPixels();
    }
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
    // Files a probe at the front of the list (or the back), writing into the log if one is given.
    ProbeElement* addProbe(const std::string& name, bool atBack = false,
                           std::vector<std::string>* log = nullptr);
    ElementContainer* world = nullptr;
};

// Expects one of an element's vectors (&Element3D::getPos, getView, getUp, ...) near (x, y, z).
inline void expectVector(const Element3D& e, float (Element3D::*vector)(int) const, float x,
                         float y, float z, double tolerance = 1e-4) {
    const float expected[3] = {x, y, z};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR((e.*vector)(i), expected[i], tolerance) << "component " << i;
    }
}
// Expects two elements to stand turned alike, entry by entry of their matrices.
inline void expectSameMatrix(const Element3D& a, const Element3D& b, double tolerance = 1e-5) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(a.getMatrix()[i], b.getMatrix()[i], tolerance) << "entry " << i;
    }
}

// An element that records its updates and draws by name into a shared log.
class ProbeElement : public Object3D {
public:
    ProbeElement(ElementContainer* container, std::string name, std::vector<std::string>* log)
        : Object3D(container), name(std::move(name)), log(log) {}
    void update(double t) override {
        lastUpdate = t;
        ++updates;
        if (log != nullptr) {
            log->push_back("update " + name);
        }
    }
    void init() override {}
    void draw() override {
        if (log != nullptr) {
            log->push_back("draw " + name);
        }
    }
    void sortByDistance() { bSortByDistance = true; }

    std::string name;
    std::vector<std::string>* log;
    double lastUpdate = -1.0;
    int updates = 0;
};

inline ProbeElement* WorldTest::addProbe(const std::string& name, bool atBack,
                                         std::vector<std::string>* log) {
    return static_cast<ProbeElement*>(
        world->file(std::make_unique<ProbeElement>(world, name, log), atBack));
}

// A stand-in for the player's ship: an Element3D the container knows but does not hold.
class PlayerStandIn : public Element3D {
public:
    explicit PlayerStandIn(ElementContainer* container) : Element3D(container) {
        container->setPlayer(this);
    }
    void update(double) override {}
};

} // namespace testsupport
