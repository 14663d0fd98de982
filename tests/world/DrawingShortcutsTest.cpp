// What the drawing shortcuts must not change: a model skipped outside the view still leaves the
// normal its drawing leaves, and a texture filter change reaches the list a kind compiled once.
#include "tests/support/WorldFixture.h"

#include <GL/gl.h>

using testsupport::litPixels;
using testsupport::WorldTest;

namespace {

class DrawingShortcutsTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        gameCamera();
    }
    static std::vector<float> currentNormal() {
        std::vector<float> normal(3);
        glGetFloatv(GL_CURRENT_NORMAL, normal.data());
        return normal;
    }
};

} // namespace

TEST_F(DrawingShortcutsTest, AModelOutOfViewIsSkippedButLeavesItsLastNormal) {
    // In front, just beside the view's edge, and behind the eye: the asteroid's bounding sphere
    // decides, whatever the path.
    const struct {
        float z;
        float x;
        bool drawn;
    } places[] = {{-300.0f, 0.0f, true}, {-300.0f, 150.0f, true}, {300.0f, 0.0f, false}};
    for (const auto& place : places) {
        Object3D* asteroid = world->addElement(kKindAsteroid);
        asteroid->setPos(place.x, 0.0f, place.z);
        for (bool lists : {true, false}) {
            world->bDisplayLists = lists;
            glNormal3f(0.0f, 0.0f, 0.0f);
            const int lit = litPixels(drawWorld());
            EXPECT_EQ(lit > 0, place.drawn) << "asteroid at x " << place.x << ", z " << place.z;
            const float* expected = asteroid->getModel()->fFinalNormal;
            EXPECT_EQ(currentNormal(), std::vector<float>(expected, expected + 3));
        }
        asteroid->setHealth(0.0f);
        world->update(0.0);
    }
}

TEST_F(DrawingShortcutsTest, AFilterChangeCompilesTheKindsListAfresh) {
    ModelData* record = world->addElement(kKindAsteroid)->getModel();
    world->addElement(kKindAsteroid);
    const unsigned compiledOnce = record->iDisplayList;
    world->iTextureFilter = 1;
    world->reloadTextures();
    EXPECT_NE(record->iDisplayList, compiledOnce);
    EXPECT_TRUE(glIsList(record->iDisplayList));
    EXPECT_FALSE(glIsList(compiledOnce));
    world->iTextureFilter = 0;
}
