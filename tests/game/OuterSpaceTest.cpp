// The star sky: its shape as drawn (faces, corners and centre), its facing under the game's
// culling, and its stillness.
#include "game/OuterSpace.h"
#include "assets/ObjectTexture.h"
#include "tests/game/GameWorldTest.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>

using gametest::GameWorldTest;

namespace {

class OuterSpaceTest : public GameWorldTest {
protected:
    // Distance from the eye at `from` to the sky along the direction, read from the depth at the
    // middle of the screen through a narrow view whose depth range brackets the sky closely.
    double distanceAlong(const double from[3], double x, double y, double z) {
        const double near = 7000.0;
        const double far = 11000.0;
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(10.0, double(kWidth) / kHeight, near, far);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        const bool vertical = std::fabs(y) > 0.9 * std::sqrt(x * x + y * y + z * z);
        gluLookAt(from[0], from[1], from[2], from[0] + x, from[1] + y, from[2] + z,
                  vertical ? 1 : 0, vertical ? 0 : 1, 0);
        glClear(GL_DEPTH_BUFFER_BIT);
        world->draw();
        float depth[4] = {};
        glReadPixels(kWidth / 2 - 1, kHeight / 2 - 1, 2, 2, GL_DEPTH_COMPONENT, GL_FLOAT, depth);
        const double d = (depth[0] + depth[1] + depth[2] + depth[3]) / 4.0;
        const double ndc = 2.0 * d - 1.0;
        return 2.0 * far * near / ((far + near) - ndc * (far - near));
    }

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

const double kSquareDistance = 8449.75;   // (1/2 + r) x 7000
const double kTriangleDistance = 8919.92; // (3/2 + r) / sqrt(3) x 7000
const double kCornerDistance = 9792.8;    // sqrt(1/2 + (1/2 + r)^2) x 7000

} // namespace

TEST_F(OuterSpaceTest, TheSkyIsAStillInertBackdropWithItsStars) {
    auto* sky = dynamic_cast<OuterSpace*>(world->addElement(kKindOuterSpace));
    ASSERT_NE(sky, nullptr);
    EXPECT_NE(sky->getTexture()->getTextureId(), 0u);
    EXPECT_FALSE(sky->isActive()) << "it would collide with everything";
    sky->setPos(1, 2, 3);
    const std::vector<float> matrix(sky->getMatrix(), sky->getMatrix() + 16);
    world->update(1.0);
    EXPECT_FLOAT_EQ(sky->getPos(2), 3.0f);
    EXPECT_EQ(std::vector<float>(sky->getMatrix(), sky->getMatrix() + 16), matrix);
    EXPECT_EQ(world->size(), 1u);
}

TEST_F(OuterSpaceTest, SquaresTrianglesAndCornersLieAtTheirDistancesFromTheSkysPosition) {
    Object3D* sky = world->addElement(kKindOuterSpace);
    const double centre[3] = {300, -200, 100};
    sky->setPos(300, -200, 100);
    glEnable(GL_DEPTH_TEST);

    // The six squares facing the axes and the twelve between them.
    for (int a = 0; a < 3; ++a) {
        for (double sign : {-1.0, 1.0}) {
            double d[3] = {0, 0, 0};
            d[a] = sign;
            EXPECT_NEAR(distanceAlong(centre, d[0], d[1], d[2]), kSquareDistance, 1.0)
                << "axis square " << a << " " << sign;
            for (double other : {-1.0, 1.0}) {
                double e[3] = {0, 0, 0};
                e[a] = sign;
                e[(a + 1) % 3] = other;
                EXPECT_NEAR(distanceAlong(centre, e[0], e[1], e[2]), kSquareDistance, 1.0)
                    << "slanted square between axes " << a << " and " << (a + 1) % 3;
            }
        }
    }
    // The eight triangles, one toward every corner of the cube.
    for (int corner = 0; corner < 8; ++corner) {
        const double x = corner & 1 ? 1 : -1;
        const double y = corner & 2 ? 1 : -1;
        const double z = corner & 4 ? 1 : -1;
        EXPECT_NEAR(distanceAlong(centre, x, y, z), kTriangleDistance, 1.0)
            << "triangle toward " << x << "," << y << "," << z;
    }
    // A corner: vertex (0, -r, 0) of the unit-edge table lies at (-1/2, -1/2 - r, -1/2) from the
    // middle of the polyhedron.
    const double r = 0.70710677;
    EXPECT_NEAR(distanceAlong(centre, -0.5, -0.5 - r, -0.5), kCornerDistance, 10.0);
    glDisable(GL_DEPTH_TEST);
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
