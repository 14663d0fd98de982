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
