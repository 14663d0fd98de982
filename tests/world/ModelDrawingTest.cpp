// Shared model records and the three drawing paths, on a real GL context with the generated
// asteroid model.
#include "tests/support/WorldFixture.h"

#include <GL/gl.h>

#include <cstdlib>

using testsupport::litPixels;
using testsupport::WorldTest;

namespace {

class ModelDrawingTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        gameCamera();
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        glEnable(GL_TEXTURE_2D);
        const float position[4] = {0, 0, 1, 0};
        glLightfv(GL_LIGHT0, GL_POSITION, position);
    }

    Object3D* asteroidInView() {
        Object3D* asteroid = world->addElement(kKindAsteroid);
        asteroid->setPos(0, 0, -100);
        asteroid->yaw(30);
        return asteroid;
    }

    static int differingPixels(const std::vector<std::uint8_t>& a,
                               const std::vector<std::uint8_t>& b) {
        int differing = 0;
        for (size_t i = 0; i < a.size(); i += 4) {
            for (int c = 0; c < 3; ++c) {
                if (std::abs(int(a[i + c]) - int(b[i + c])) > 2) {
                    ++differing;
                    break;
                }
            }
        }
        return differing;
    }
};

} // namespace

TEST_F(ModelDrawingTest, AsteroidsShareTheRecordAndOneListCompiledOnce) {
    // A projectile is a new element of its kind with every shot: lists must not pile up.
    ModelData* record = world->addElement(kKindAsteroid)->getModel();
    const unsigned firstList = record->iDisplayList;
    for (int i = 0; i < 200; ++i) {
        Object3D* another = world->addElement(kKindAsteroid);
        EXPECT_EQ(another->getModel(), record);
        another->setHealth(0.0f); // gone at the end of the frame
        world->update(0.0);
    }
    EXPECT_EQ(world->modelCache.size(), 1u);
    EXPECT_EQ(record,
              world->addElement(kKindAsteroid)->loadModel("data/model/other.ms3d", kKindAsteroid));
    int liveLists = 0;
    for (unsigned name = firstList; name <= record->iDisplayList; ++name) {
        liveLists += glIsList(name) == GL_TRUE;
    }
    EXPECT_EQ(liveLists, 1);
    EXPECT_EQ(record->iDisplayList, firstList) << "later elements reuse the kind's list";
    EXPECT_TRUE(glIsList(record->iDisplayList));
}

TEST_F(ModelDrawingTest, AllThreePathsDrawTheSamePicture) {
    asteroidInView();
    world->bDisplayLists = true;
    const auto listed = drawWorld();
    world->bDisplayLists = false;
    world->bVertexArrays = true;
    const auto arrays = drawWorld();
    world->bVertexArrays = false;
    const auto immediate = drawWorld();

    ASSERT_GT(litPixels(immediate), 2000) << "the asteroid should fill part of the view";
    EXPECT_LT(differingPixels(listed, immediate), 50);
    EXPECT_LT(differingPixels(arrays, immediate), 50);
}

TEST_F(ModelDrawingTest, AGroupWithoutMaterialKeepsThePreviousOneUntexturedAndTexturingIsRestored) {
    Object3D* asteroid = asteroidInView();
    for (Group& group : static_cast<Ms3dModelData*>(asteroid->getModel())->pMs3dModel->groups) {
        group.materialIndex = -1;
    }
    // The material left by what was drawn before: glowing pure red, reflecting nothing.
    const float black[4] = {0, 0, 0, 1}, red[4] = {1, 0, 0, 1};
    for (GLenum part : {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR}) {
        glMaterialfv(GL_FRONT, part, black);
    }
    glMaterialfv(GL_FRONT, GL_EMISSION, red);
    world->bDisplayLists = false;
    for (bool vertexArrays : {false, true}) {
        world->bVertexArrays = vertexArrays;
        const std::vector<std::uint8_t> pixels = drawWorld();
        int pureRed = 0;
        for (size_t i = 0; i < pixels.size(); i += 4) {
            pureRed += pixels[i] == 255 && pixels[i + 1] == 0 && pixels[i + 2] == 0;
        }
        EXPECT_GT(pureRed, 2000) << "vertex arrays " << vertexArrays;
        EXPECT_EQ(pureRed, litPixels(pixels)) << "no texture over it";
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D)) << "texturing back as it was";
        glDisable(GL_TEXTURE_2D);
        world->draw();
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        glEnable(GL_TEXTURE_2D);
    }
}

TEST_F(ModelDrawingTest, InvisibleElementsAndMissingModelFilesDrawNothing) {
    Object3D* asteroid = asteroidInView();
    asteroid->setVisible(false);
    EXPECT_EQ(litPixels(drawWorld()), 0) << "not even from its display list";

    asteroid->setVisible(true);
    world->modelCache.clear();
    asteroid->setModelFile("data/model/no-such-model.ms3d");
    asteroid->init();
    ASSERT_NE(asteroid->getModel(), nullptr) << "an empty record, not a crash";
    EXPECT_EQ(asteroid->getModel()->iTriangles, 0);
    EXPECT_EQ(asteroid->getRadius(), 20.0f) << "it still collides by its kind's radius";
    world->bDisplayLists = false;
    EXPECT_EQ(litPixels(drawWorld()), 0);
}
