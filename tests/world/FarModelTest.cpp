// The far models on the real context with the generated art: where each kind's coarser model
// takes over, the picture moves by at most a pixel; every drawing path draws the same one; and
// the art stays within what a software renderer affords.
#include "tests/support/WorldFixture.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdio>

using testsupport::PlayerStandIn;
using testsupport::WorldTest;

namespace {

// The most the picture may move where the far model takes over.
const int kFarModelPixels = 1;
const int kModelKinds[] = {kKindFighter,         kKindBonus, kKindAsteroid,
                           kKindLaserProjectile, kKindWurst, kKindKnacker};

class FarModelTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        gameCamera(); // the eye at the origin, looking along -z, as the ship at the start
        ship = std::make_unique<PlayerStandIn>(world);
    }
    void TearDown() override {
        ship.reset();
        WorldTest::TearDown();
    }

    // The nearest distance along the direction at which the element is drawn with its far
    // model, to a float step.
    static float takeOver(Object3D& element, const float* direction) {
        float nearer = 0.0f, farther = 1.0e5f;
        while (std::nextafter(nearer, farther) < farther) {
            const float middle = 0.5f * (nearer + farther);
            if (middle <= nearer || middle >= farther) {
                break;
            }
            place(element, direction, middle);
            (element.modelAtDistance() == element.getModel() ? nearer : farther) = middle;
        }
        place(element, direction, farther);
        return farther;
    }
    static void place(Object3D& element, const float* direction, float distance) {
        element.setPos(direction[0] * distance, direction[1] * distance, direction[2] * distance);
    }

    // The element's silhouette: every pixel it covers, whatever its colours, with every edge
    // drawn as a line as well, so that a sliver thinner than a pixel shows whole rather than at
    // the odd pixel centre it happens to cover.
    std::vector<bool> silhouette() {
        glDisable(GL_LIGHTING);
        glColor3f(1.0f, 1.0f, 1.0f);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_ADD);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        world->draw();
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        world->draw();
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glFinish();
        const std::vector<std::uint8_t> pixels = readPixels();
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        std::vector<bool> covered(pixels.size() / 4);
        for (std::size_t i = 0; i < covered.size(); ++i) {
            covered[i] = pixels[i * 4] != 0;
        }
        return covered;
    }

    // Pixels of one silhouette with no pixel of the other near them: within the pixel the
    // outline may move, and one more for the rounding to pixels.
    static int strayPixels(const std::vector<bool>& a, const std::vector<bool>& b) {
        const int reach = kFarModelPixels + 1;
        int stray = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                if (!a[static_cast<std::size_t>(y * kWidth + x)]) {
                    continue;
                }
                bool neighbour = false;
                for (int dy = -reach; dy <= reach && !neighbour; ++dy) {
                    for (int dx = -reach; dx <= reach && !neighbour; ++dx) {
                        const int nx = x + dx, ny = y + dy;
                        neighbour = nx >= 0 && ny >= 0 && nx < kWidth && ny < kHeight &&
                                    b[static_cast<std::size_t>(ny * kWidth + nx)];
                    }
                }
                stray += neighbour ? 0 : 1;
            }
        }
        return stray;
    }

    std::unique_ptr<PlayerStandIn> ship;
};

} // namespace

TEST_F(FarModelTest, WhereTheFarModelTakesOverThePictureMovesByAPixelAtMost) {
    // Straight ahead and toward a corner of the view (tan 0.5 across, 0.37 up), where the view
    // magnifies most, each kind turned three ways.
    const float ahead[3] = {0.0f, 0.0f, -1.0f};
    const float corner[3] = {0.4244f, 0.3141f, -0.8489f};
    for (int kind : kModelKinds) {
        Object3D* element = world->addElement(kind);
        if (element->getShield() != nullptr) {
            element->getShield()->hit(1.0e6f); // broken and gone: only the model in the picture
            world->update(0.0);
        }
        ModelData* record = element->getModel();
        ASSERT_TRUE(record->pFar) << "kind " << kind << " has a far model";
        for (const float* direction : {ahead, corner}) {
            for (float turn : {0.0f, 35.0f, 110.0f}) {
                element->yaw(turn);
                element->pitch(turn * 0.5f);
                const float distance = takeOver(*element, direction);
                const std::vector<bool> far = silhouette();
                std::unique_ptr<ModelData> aside = std::move(record->pFar);
                const std::vector<bool> near = silhouette();
                record->pFar = std::move(aside);
                SCOPED_TRACE("kind " + std::to_string(kind) + " at " + std::to_string(distance) +
                             ", turned " + std::to_string(turn));
                EXPECT_GT(std::count(near.begin(), near.end(), true), 0) << "in view";
                EXPECT_EQ(strayPixels(far, near), 0);
                EXPECT_EQ(strayPixels(near, far), 0);
            }
        }
        std::printf("kind %2d: %4d triangles in %d groups, far %3d in %d from %6.0f units on\n",
                    kind, record->iTriangles, record->iGroups, record->pFar->iTriangles,
                    record->pFar->iGroups, takeOver(*element, ahead));
        element->setHealth(0.0f);
        world->update(0.0);
    }
}

TEST_F(FarModelTest, EveryPathDrawsTheModelChosenByDistanceOnBothSidesOfTheTakeOver) {
    const float ahead[3] = {0.0f, 0.0f, -1.0f};
    Object3D* rock = world->addElement(kKindAsteroid);
    const ModelData* record = rock->getModel();
    const float distance = takeOver(*rock, ahead);
    const struct {
        float distance;
        int triangles;
    } sides[] = {{std::nextafter(distance, 0.0f), record->iTriangles},
                 {distance, record->pFar->iTriangles}};
    const struct { bool lists, arrays; } paths[] = {{true, false}, {false, true}, {false, false}};
    for (const auto& side : sides) {
        place(*rock, ahead, side.distance);
        for (const auto& path : paths) {
            world->bDisplayLists = path.lists;
            world->bVertexArrays = path.arrays;
            const unsigned long before = world->modelTriangles;
            const int lit = testsupport::litPixels(drawWorld());
            EXPECT_EQ(world->modelTriangles - before, static_cast<unsigned long>(side.triangles))
                << "at " << side.distance << ", lists " << path.lists << ", arrays " << path.arrays;
            EXPECT_GT(lit, 0);
        }
    }
}

TEST_F(FarModelTest, TheStartOfTheLevelDrawsFewerThan25000Triangles) {
    ASSERT_TRUE(world->loadFromXMLFile("data/levels/level.xml"));
    const unsigned long before = world->modelTriangles;
    drawWorld();
    EXPECT_LT(world->modelTriangles - before, 25000u);
}
