// The star sky: a still backdrop, made with or without its star picture, that closes around the
// player under the game's culling, inside the far plane, from every side.
#include "game/OuterSpace.h"
#include "assets/ObjectTexture.h"
#include "tests/game/GameWorldTest.h"
#include "tests/support/TempDir.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

using gametest::GameWorldTest;

namespace {

class OuterSpaceTest : public GameWorldTest {
protected:
    // Depth of every pixel of one view from the origin along the direction.
    std::vector<float> depthsLookingAt(double x, double y, double z) {
        gameCamera();
        gluLookAt(0, 0, 0, x, y, z, std::fabs(y) > 0.9 ? 1 : 0, std::fabs(y) > 0.9 ? 0 : 1, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        world->draw();
        std::vector<float> depths(static_cast<size_t>(kWidth) * kHeight);
        glReadPixels(0, 0, kWidth, kHeight, GL_DEPTH_COMPONENT, GL_FLOAT, depths.data());
        return depths;
    }
};

} // namespace

TEST_F(OuterSpaceTest, TheSkySaysWhetherItFoundItsStarsAndIsAStillInertBackdropEitherWay) {
    const std::filesystem::path runDirectory = std::filesystem::current_path();
    testsupport::TempDir elsewhere;
    for (bool found : {true, false}) {
        std::filesystem::current_path(found ? runDirectory
                                            : std::filesystem::path(elsewhere.path()));
        testsupport::DebugCapture log;
        auto* sky = dynamic_cast<OuterSpace*>(world->addElement(kKindOuterSpace));
        std::filesystem::current_path(runDirectory);
        ASSERT_NE(sky, nullptr);
        EXPECT_EQ(sky->getTexture()->getTextureId() != 0, found);
        EXPECT_EQ(
            log.count("OuterSpace::createDisplayList(): texture loaded/created successfully.\n"),
            found ? 1 : 0);
        EXPECT_EQ(log.count("OuterSpace::createDisplayList(): could not create/load texture.\n"),
                  found ? 0 : 1);
        EXPECT_FALSE(sky->isActive()) << "it would collide with everything";
        sky->setPos(1, 2, 3);
        const std::vector<float> matrix(sky->getMatrix(), sky->getMatrix() + 16);
        world->update(1.0);
        EXPECT_EQ(std::vector<float>(sky->getMatrix(), sky->getMatrix() + 16), matrix);
        EXPECT_EQ(count<OuterSpace>(), found ? 1 : 2) << "never removed";
    }
}

TEST_F(OuterSpaceTest, TheStarsSurroundThePlayerUnderTheGamesCullingInsideTheFarPlane) {
    world->addElement(kKindOuterSpace);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_FRONT); // as the game culls
    const double directions[][3] = {{0, 0, -1}, {0, 0, 1},  {1, 0, 0}, {-1, 0, 0},
                                    {0, 1, 0},  {0, -1, 0}, {1, 1, 1}, {-1, -1, -1}};
    for (const auto& d : directions) {
        const std::vector<float> depths = depthsLookingAt(d[0], d[1], d[2]);
        EXPECT_EQ(std::count(depths.begin(), depths.end(), 1.0f), 0)
            << "uncovered pixels looking along " << d[0] << "," << d[1] << "," << d[2];
    }

    glCullFace(GL_BACK); // the other side: the sky has only one
    const std::vector<float> depths = depthsLookingAt(0, 0, -1);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    EXPECT_EQ(std::count(depths.begin(), depths.end(), 1.0f), kWidth * kHeight);
}
