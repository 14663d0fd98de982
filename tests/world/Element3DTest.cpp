// How world objects turn, take damage and fire their triggers.
#include "level/Trigger.h"
#include "tests/support/WorldFixture.h"

#include <GL/gl.h>

#include <cmath>
#include <random>

using testsupport::ProbeElement;
using testsupport::WorldTest;

namespace {

class Element3DTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        e = addProbe("probe");
    }
    ProbeElement* e = nullptr;
};

double determinant(const float* m) {
    return m[0] * (double(m[5]) * m[10] - double(m[9]) * m[6]) -
           m[4] * (double(m[1]) * m[10] - double(m[9]) * m[2]) +
           m[8] * (double(m[1]) * m[6] - double(m[5]) * m[2]);
}

double dot(const float* a, const float* b) {
    return double(a[0]) * b[0] + double(a[1]) * b[1] + double(a[2]) * b[2];
}

} // namespace

TEST_F(Element3DTest, RotationsMatchTheGlRotateProduct) {
    // The same product the GL matrix stack gives: R(angle, current axis) x M, where pitch turns
    // about the first column, yaw about the second and roll about the third.
    std::mt19937 random(7);
    std::uniform_real_distribution<float> angle(-180.0f, 180.0f);
    void (*const turns[3])(Element3D&, float) = {[](Element3D& x, float d) { x.pitch(d); },
                                                 [](Element3D& x, float d) { x.yaw(d); },
                                                 [](Element3D& x, float d) { x.roll(d); }};
    for (int step = 0; step < 60; ++step) {
        const float degrees = angle(random);
        const float* axis = e->getMatrix() + 4 * (step % 3);
        float expected[16];
        glPushMatrix();
        glLoadIdentity();
        glRotatef(degrees, axis[0], axis[1], axis[2]);
        glMultMatrixf(e->getMatrix());
        glGetFloatv(GL_MODELVIEW_MATRIX, expected);
        glPopMatrix();
        turns[step % 3](*e, degrees);
        for (int i = 0; i < 16; ++i) {
            ASSERT_NEAR(e->getMatrix()[i], expected[i], 2e-5) << "step " << step << " i " << i;
        }
    }
}

TEST_F(Element3DTest, AxesStayOrthonormalAfterLongFlightAndFlyingFollowsTheViewAxis) {
    std::mt19937 random(11);
    std::uniform_real_distribution<float> angle(-30.0f, 30.0f);
    for (int i = 0; i < 20000; ++i) {
        e->pitch(angle(random));
        e->yaw(angle(random));
        e->roll(angle(random));
    }
    const float* m = e->getMatrix();
    for (int a = 0; a < 3; ++a) {
        EXPECT_NEAR(dot(m + 4 * a, m + 4 * a), 1.0, 1e-3) << "axis " << a;
        EXPECT_NEAR(dot(m + 4 * a, m + 4 * ((a + 1) % 3)), 0.0, 1e-3) << "axis " << a;
    }
    EXPECT_NEAR(determinant(m), -1.0, 1e-3);
    e->setPos(0, 0, 0);
    e->moveForward(10.0f);
    for (int a = 0; a < 3; ++a) {
        EXPECT_NEAR(e->getPos(a), 10.0f * m[8 + a], 1e-4) << "flies along its view axis: " << a;
    }
}

TEST_F(Element3DTest, TurnTowardsStepsAndReportsWhatIsLeft) {
    EXPECT_NEAR(e->turnTowards(10, 0, 100, 0), 80.0, 1e-4);
    testsupport::expectVector(*e, &Element3D::getView, 0, std::sin(10 * M_PI / 180),
                              -std::cos(10 * M_PI / 180));

    e->resetOrientation();
    EXPECT_EQ(e->turnTowards(180, 0, 100, 0), 0.0) << "a step wider than the angle lands on it";
    testsupport::expectVector(*e, &Element3D::getView, 0, 1, 0);

    // A target straight behind turns about the up axis.
    e->resetOrientation();
    e->turnTowards(90, 0, 0, 50);
    EXPECT_NEAR(e->getUp(1), 1.0, 1e-5);
    EXPECT_NEAR(std::fabs(e->getView(0)), 1.0, 1e-5);
}

TEST_F(Element3DTest, DegenerateTargetsNeverPoisonTheMatrix) {
    // On top of the element, straight ahead, and nearly ahead where rounding pushes the
    // cosine past 1: none may put NaN into the orientation.
    EXPECT_EQ(e->turnTowards(10, 0, 0, 0), 0.0);
    EXPECT_EQ(e->turnTowards(10, 0, 0, -100), 0.0);
    e->yaw(33.3f);
    e->pitch(-12.7f);
    const float far = 1e6f;
    e->turnTowards(5, e->getView(0) * far, e->getView(1) * far, e->getView(2) * far);
    for (int i = 0; i < 16; ++i) {
        EXPECT_TRUE(std::isfinite(e->getMatrix()[i]));
    }
    EXPECT_NEAR(determinant(e->getMatrix()), -1.0, 1e-4);
}

TEST_F(Element3DTest, TriggersKeepToTheirSlotsAndTheDeathOneFiresOnEveryHitAtOrBelowZero) {
    e->setTrigger(std::make_unique<Trigger>(kTriggerCauseProximity, kTriggerEventEndLevel));
    ASSERT_NE(e->getProximityTrigger(), nullptr);
    e->hit(2.0f);
    EXPECT_FALSE(world->bLevelEnded) << "a proximity trigger never fires, not even on death";

    e->setHealth(1.0f);
    e->setTrigger(std::make_unique<Trigger>(kTriggerCauseDeath, kTriggerEventEndLevel));
    EXPECT_NE(e->getProximityTrigger(), nullptr) << "each cause has its own slot";
    e->hit(0.5f);
    EXPECT_FALSE(world->bLevelEnded) << "half the health gone is no death";
    e->hit(0.5f);
    EXPECT_TRUE(world->bLevelEnded) << "exactly 0 is death";
    world->bLevelEnded = false;
    e->hit(0.5f);
    EXPECT_TRUE(world->bLevelEnded) << "the trigger stays and fires again on a later hit";
}

TEST(Element3DDeathTest, AnElementWithoutWorldEndsTheProgram) {
    EXPECT_EXIT(testsupport::ProbeElement(nullptr, "orphan", nullptr), ::testing::ExitedWithCode(1),
                "Element3D::Element3D: No Container\n");
}
