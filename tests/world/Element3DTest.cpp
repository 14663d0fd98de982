// How world objects turn, move, take damage and fire their triggers.
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
    ProbeElement& element() {
        if (!probe) {
            probe = static_cast<ProbeElement*>(
                world->file(std::make_unique<ProbeElement>(world, "probe", nullptr), false));
        }
        return *probe;
    }
    ProbeElement* probe = nullptr;
};

void expectAxis(const Element3D& e, float (Element3D::*axis)(int) const, float x, float y,
                float z) {
    EXPECT_NEAR((e.*axis)(0), x, 1e-5);
    EXPECT_NEAR((e.*axis)(1), y, 1e-5);
    EXPECT_NEAR((e.*axis)(2), z, 1e-5);
}

double determinant(const float* m) {
    return m[0] * (double(m[5]) * m[10] - double(m[9]) * m[6]) -
           m[4] * (double(m[1]) * m[10] - double(m[9]) * m[2]) +
           m[8] * (double(m[1]) * m[6] - double(m[5]) * m[2]);
}

double dot(const float* a, const float* b) {
    return double(a[0]) * b[0] + double(a[1]) * b[1] + double(a[2]) * b[2];
}

} // namespace

TEST_F(Element3DTest, NewElementStartsAtTheOriginLookingDownMinusZ) {
    const Element3D& e = element();
    expectAxis(e, &Element3D::getView, 0, 0, -1);
    expectAxis(e, &Element3D::getUp, 0, 1, 0);
    expectAxis(e, &Element3D::getRight, 1, 0, 0);
    expectAxis(e, &Element3D::getPos, 0, 0, 0);
    expectAxis(e, &Element3D::getScale, 1, 1, 1);
    EXPECT_FLOAT_EQ(e.getRadius(), 10.0f);
    EXPECT_FLOAT_EQ(e.getHealth(), 1.0f);
    EXPECT_TRUE(e.isActive());
    EXPECT_TRUE(e.isVisible());
}

TEST_F(Element3DTest, QuarterTurnsAboutEachOwnAxis) {
    element().yaw(90);
    expectAxis(element(), &Element3D::getView, -1, 0, 0);
    expectAxis(element(), &Element3D::getRight, 0, 0, -1);
    expectAxis(element(), &Element3D::getUp, 0, 1, 0);

    element().resetOrientation();
    element().pitch(90);
    expectAxis(element(), &Element3D::getView, 0, 1, 0);
    expectAxis(element(), &Element3D::getUp, 0, 0, 1);

    element().resetOrientation();
    element().roll(90);
    expectAxis(element(), &Element3D::getRight, 0, -1, 0);
    expectAxis(element(), &Element3D::getUp, 1, 0, 0);
}

TEST_F(Element3DTest, RotationsMatchTheGlRotateProduct) {
    // The same product the GL matrix stack gives: R(angle, current axis) x M.
    std::mt19937 random(7);
    std::uniform_real_distribution<float> angle(-180.0f, 180.0f);
    glMatrixMode(GL_MODELVIEW);
    for (int step = 0; step < 60; ++step) {
        const float degrees = angle(random);
        const int which = step % 3;
        float expected[16];
        const float* m = element().getMatrix();
        const float* axis = m + 4 * (which == 0 ? 0 : which == 1 ? 1 : 2);
        glPushMatrix();
        glLoadIdentity();
        glRotatef(degrees, axis[0], axis[1], axis[2]);
        glMultMatrixf(m);
        glGetFloatv(GL_MODELVIEW_MATRIX, expected);
        glPopMatrix();

        if (which == 0) {
            element().pitch(degrees);
        } else if (which == 1) {
            element().yaw(degrees);
        } else {
            element().roll(degrees);
        }
        for (int i = 0; i < 16; ++i) {
            ASSERT_NEAR(element().getMatrix()[i], expected[i], 2e-5)
                << "step " << step << " i " << i;
        }
    }
}

TEST_F(Element3DTest, AxesStayOrthonormalWithDeterminantMinusOneAfterLongFlight) {
    std::mt19937 random(11);
    std::uniform_real_distribution<float> angle(-30.0f, 30.0f);
    for (int i = 0; i < 20000; ++i) {
        element().pitch(angle(random));
        element().yaw(angle(random));
        element().roll(angle(random));
    }
    const float* m = element().getMatrix();
    EXPECT_NEAR(dot(m, m), 1.0, 1e-3);
    EXPECT_NEAR(dot(m + 4, m + 4), 1.0, 1e-3);
    EXPECT_NEAR(dot(m + 8, m + 8), 1.0, 1e-3);
    EXPECT_NEAR(dot(m, m + 4), 0.0, 1e-3);
    EXPECT_NEAR(dot(m, m + 8), 0.0, 1e-3);
    EXPECT_NEAR(dot(m + 4, m + 8), 0.0, 1e-3);
    EXPECT_NEAR(determinant(m), -1.0, 1e-3);
    EXPECT_EQ(m[3], 0.0f);
    EXPECT_EQ(m[15], 1.0f);
}

TEST_F(Element3DTest, MovesForwardAlongItsView) {
    element().moveForward(5);
    expectAxis(element(), &Element3D::getPos, 0, 0, -5);
}

TEST_F(Element3DTest, TurnTowardsStepsAndReportsWhatIsLeft) {
    EXPECT_NEAR(element().turnTowards(10, 0, 100, 0), 80.0, 1e-4);
    EXPECT_NEAR(element().getView(1), std::sin(10 * M_PI / 180), 1e-5);
    EXPECT_NEAR(element().getView(2), -std::cos(10 * M_PI / 180), 1e-5);

    element().resetOrientation();
    EXPECT_EQ(element().turnTowards(180, 0, 100, 0), 0.0);
    expectAxis(element(), &Element3D::getView, 0, 1, 0);
}

TEST_F(Element3DTest, TargetStraightBehindTurnsAboutTheUpAxis) {
    element().turnTowards(90, 0, 0, 50);
    expectAxis(element(), &Element3D::getUp, 0, 1, 0);
    EXPECT_NEAR(std::fabs(element().getView(0)), 1.0, 1e-5);
}

TEST_F(Element3DTest, DegenerateTargetsNeverPoisonTheMatrix) {
    // On top of the element, straight ahead, and nearly ahead where rounding pushes the
    // cosine past 1: none may put NaN into the orientation.
    EXPECT_EQ(element().turnTowards(10, 0, 0, 0), 0.0);
    EXPECT_EQ(element().turnTowards(10, 0, 0, -100), 0.0);
    element().yaw(33.3f);
    element().pitch(-12.7f);
    const float far = 1e6f;
    element().turnTowards(5, element().getView(0) * far, element().getView(1) * far,
                          element().getView(2) * far);
    for (int i = 0; i < 16; ++i) {
        EXPECT_TRUE(std::isfinite(element().getMatrix()[i]));
    }
    EXPECT_NEAR(determinant(element().getMatrix()), -1.0, 1e-4);
}

TEST_F(Element3DTest, DeathTriggerFiresOnEveryHitAtOrBelowZero) {
    auto deathTrigger = std::make_unique<Trigger>(kTriggerCauseDeath, kTriggerEventEndLevel);
    element().setTrigger(std::move(deathTrigger));
    element().hit(0.5f);
    EXPECT_FALSE(world->bLevelEnded) << "half the health gone is no death";
    element().hit(0.5f);
    EXPECT_TRUE(world->bLevelEnded);
    element().hit(0.5f);
    EXPECT_TRUE(world->bLevelEnded) << "firing again changes nothing";
    EXPECT_FLOAT_EQ(element().getHealth(), -0.5f);
}

TEST_F(Element3DTest, ProximityTriggersAreKeptButNeverFire) {
    element().setTrigger(std::make_unique<Trigger>(kTriggerCauseProximity, kTriggerEventEndLevel));
    ASSERT_NE(element().getProximityTrigger(), nullptr);
    element().hit(5.0f);
    EXPECT_FALSE(world->bLevelEnded);
}

TEST_F(Element3DTest, UnknownCauseIsRefusedWithALogLine) {
    testsupport::DebugCapture log;
    element().setTrigger(std::make_unique<Trigger>(2, kTriggerEventEndLevel));
    EXPECT_EQ(log.text(), "Element3D::setTrigger(): unknown trigger value\n");
    EXPECT_EQ(element().getDeathTrigger(), nullptr);
    EXPECT_EQ(element().getProximityTrigger(), nullptr);
}

TEST_F(Element3DTest, ASecondDeathTriggerReplacesTheFirst) {
    element().setTrigger(std::make_unique<Trigger>(kTriggerCauseDeath, kTriggerEventEndLevel));
    element().setTrigger(std::make_unique<Trigger>(kTriggerCauseDeath, kTriggerUnset));
    element().hit(2.0f);
    EXPECT_FALSE(world->bLevelEnded) << "the replacement has no event";
}

TEST(Element3DDeathTest, AnElementWithoutWorldEndsTheProgram) {
    EXPECT_EXIT(testsupport::ProbeElement(nullptr, "orphan", nullptr), ::testing::ExitedWithCode(1),
                "Element3D::Element3D: No Container\n");
}
