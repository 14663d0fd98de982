// The wire-frame quadric all shields share: when making it fails, shields are drawn again as soon
// as a later frame manages to make it.
#include "game/Shield.h"
#include "tests/game/GameWorldTest.h"

#include <GL/glu.h>

using gametest::GameWorldTest;
using testsupport::litPixels;

namespace {

GLUquadric* noQuadric() {
    return nullptr;
}

class ShieldQuadricTest : public GameWorldTest, public ::testing::WithParamInterface<unsigned> {};

} // namespace

TEST_P(ShieldQuadricTest, AFailedQuadricIsMadeAgainOnALaterFrame) {
    world->drawingShortcuts = GetParam();
    auto* shield = static_cast<Shield*>(world->addElement(kKindShield));
    shield->setPos(0, 0, -150);
    shield->setRadius(40.0f);
    gameCamera();
    Shield::dropQuadric();
    Shield::makeQuadric = &noQuadric;
    EXPECT_EQ(litPixels(drawWorld()), 0) << "no quadric: no sphere";
    Shield::makeQuadric = &gluNewQuadric;
    EXPECT_GT(litPixels(drawWorld()), 200) << "the next frame makes it and draws the sphere";
}

INSTANTIATE_TEST_SUITE_P(ListsOnAndOff, ShieldQuadricTest,
                         ::testing::Values(kShortcutsAll, kShortcutsAll & ~kShortcutWires));
