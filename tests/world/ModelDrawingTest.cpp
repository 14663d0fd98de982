// Shared model records and the three drawing paths, on a real GL context with the generated
// asteroid model.
#include "assets/ObjectTexture.h"
#include "tests/support/WorldFixture.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdlib>

using testsupport::litPixels;
using testsupport::WorldTest;

namespace {

class ModelDrawingTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        glMatrixMode(GL_PROJECTION);
        gluPerspective(45.0, double(kWidth) / kHeight, 1.0, 12000.0);
        glMatrixMode(GL_MODELVIEW);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        glEnable(GL_TEXTURE_2D);
        const float position[4] = {0, 0, 1, 0};
        glLightfv(GL_LIGHT0, GL_POSITION, position);
    }
    void TearDown() override {
        glDisable(GL_LIGHT0);
        WorldTest::TearDown();
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

TEST_F(ModelDrawingTest, TheSecondAsteroidSharesTheRecordButCompilesANewList) {
    Object3D* first = world->addElement(kKindAsteroid);
    const unsigned firstList = first->getModel()->iDisplayList;
    Object3D* second = world->addElement(kKindAsteroid);
    EXPECT_EQ(first->getModel(), second->getModel());
    EXPECT_EQ(world->modelCache.size(), 1u);
    EXPECT_NE(second->getModel()->iDisplayList, firstList);
    EXPECT_TRUE(glIsList(firstList)) << "older lists are kept";
    EXPECT_EQ(first->loadModel("data/model/other.ms3d", kKindAsteroid), first->getModel());
}

TEST_F(ModelDrawingTest, TheGeneratedAsteroidLoadsWithTexturedMaterials) {
    Object3D* asteroid = world->addElement(kKindAsteroid);
    auto* record = static_cast<Ms3dModelData*>(asteroid->getModel());
    ASSERT_GT(record->pMs3dModel->getGroupCount(), 0);
    ASSERT_EQ(record->pMs3dModel->groupVertexArrays.size(),
              size_t(record->pMs3dModel->getGroupCount()));
    const GroupVertexArray& array = record->pMs3dModel->groupVertexArrays[0];
    EXPECT_EQ(array.getFloatCount(),
              24 * int(record->pMs3dModel->groups[0].triangleIndices.size()));
    bool anyTexture = false;
    for (const Material& material : record->pMs3dModel->materials) {
        anyTexture = anyTexture || material.texture != 0;
    }
    EXPECT_TRUE(anyTexture);
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

TEST_F(ModelDrawingTest, ImmediateDrawingLeavesTexturingAsItFoundIt) {
    // (A display list replays the texturing state it was compiled under instead.)
    asteroidInView();
    world->bDisplayLists = false;
    for (bool vertexArrays : {true, false}) {
        world->bVertexArrays = vertexArrays;
        glDisable(GL_TEXTURE_2D);
        world->draw();
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        glEnable(GL_TEXTURE_2D);
        world->draw();
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    }
}

TEST_F(ModelDrawingTest, AnInvisibleElementDrawsNothingEvenWithAList) {
    Object3D* asteroid = asteroidInView();
    asteroid->setVisible(false);
    EXPECT_EQ(litPixels(drawWorld()), 0);
}

TEST_F(ModelDrawingTest, AMissingModelFileLeavesAnEmptyRecordThatDrawsNothing) {
    Object3D* asteroid = asteroidInView();
    world->modelCache.clear();
    asteroid->setModelFile("data/model/no-such-model.ms3d");
    asteroid->init();
    ASSERT_NE(asteroid->getModel(), nullptr);
    EXPECT_EQ(static_cast<Ms3dModelData*>(asteroid->getModel())->pMs3dModel->getGroupCount(), 0);
    world->bDisplayLists = false;
    EXPECT_EQ(litPixels(drawWorld()), 0);
}

TEST_F(ModelDrawingTest, ReloadingTexturesAppliesTheNewFilterToModels) {
    Object3D* asteroid = world->addElement(kKindAsteroid);
    auto* record = static_cast<Ms3dModelData*>(asteroid->getModel());
    world->iTextureFilter = kFilterBilinear;
    world->reloadTextures();
    for (const Material& material : record->pMs3dModel->materials) {
        if (material.texture == 0) {
            continue;
        }
        glBindTexture(GL_TEXTURE_2D, material.texture);
        GLint magFilter = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
        EXPECT_EQ(magFilter, GL_LINEAR);
    }
}
