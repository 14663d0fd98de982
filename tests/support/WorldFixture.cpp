// Fresh-world fixture and the stand-in elements.
#include "tests/support/WorldFixture.h"

#include <GL/gl.h>

namespace testsupport {

void WorldTest::SetUp() {
    GLTest::SetUp();
    world = ElementContainer::getInstance();
}

void WorldTest::TearDown() {
    delete ElementContainer::getInstance();
    world = nullptr;
    GLTest::TearDown();
}

std::vector<std::uint8_t> WorldTest::drawWorld() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    world->draw();
    glFinish();
    return readPixels();
}

void expectVector(const Element3D& e, float (Element3D::*vector)(int) const, float x, float y,
                  float z, double tolerance) {
    const float expected[3] = {x, y, z};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR((e.*vector)(i), expected[i], tolerance) << "component " << i;
    }
}

void expectSameMatrix(const Element3D& a, const Element3D& b, double tolerance) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(a.getMatrix()[i], b.getMatrix()[i], tolerance) << "entry " << i;
    }
}

ProbeElement::ProbeElement(ElementContainer* container, std::string name,
                           std::vector<std::string>* log)
    : Object3D(container), name(std::move(name)), log(log) {}

void ProbeElement::update(double t) {
    lastUpdate = t;
    ++updates;
    if (log != nullptr) {
        log->push_back("update " + name);
    }
}

void ProbeElement::draw() {
    if (log != nullptr) {
        log->push_back("draw " + name);
    }
}

PlayerStandIn::PlayerStandIn(ElementContainer* container) : Element3D(container) {
    container->setPlayer(this);
}

} // namespace testsupport
