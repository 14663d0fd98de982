// What the drawing shortcuts must not change: models skipped outside the view still leave the
// state their drawing leaves.
#include "game/Shield.h"
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

// Drawn wherever it is; notes the material, texture, normal and colour it finds. Sorted, it is
// drawn among the translucent elements, nearest first.
class StateWitness : public Object3D {
public:
    StateWitness(ElementContainer* container, bool sorted) : Object3D(container) {
        bSortByDistance = sorted;
    }
    void init() override {}
    void update(double) override {}
    void draw() override {
        glGetMaterialfv(GL_FRONT, GL_AMBIENT, ambient);
        glGetFloatv(GL_CURRENT_COLOR, colour);
        glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        texture = static_cast<unsigned>(bound);
        glGetFloatv(GL_CURRENT_NORMAL, normal);
    }
    std::vector<float> seen() const {
        std::vector<float> all(ambient, ambient + 4);
        all.insert(all.end(), colour, colour + 4);
        all.insert(all.end(), diffuse, diffuse + 4);
        all.insert(all.end(), normal, normal + 3);
        return all;
    }
    float ambient[4] = {};
    float colour[4] = {};
    float diffuse[4] = {};
    unsigned texture = 0;
    float normal[3] = {};
};

} // namespace

TEST_F(DrawingShortcutsTest, WhatIsDrawnAfterSkippedModelsFindsTheStateTheLastOfThemLeaves) {
    // Rocks and a knacker behind the eye, then something drawn: it finds the last one's
    // material, texture and normal, as if each had been drawn.
    auto* witness = static_cast<StateWitness*>(
        world->file(std::make_unique<StateWitness>(world, false), false));
    for (int last : {kKindKnacker, kKindAsteroid}) {
        const int first = last == kKindKnacker ? kKindAsteroid : kKindKnacker;
        Object3D* lastModel = world->addElement(last);
        world->addElement(first)->setPos(0.0f, 0.0f, 300.0f);
        world->addElement(first)->setPos(0.0f, 50.0f, 300.0f);
        lastModel->setPos(0.0f, 0.0f, 400.0f);
        for (bool lists : {true, false}) {
            world->bDisplayLists = lists;
            glNormal3f(0.0f, 0.0f, 0.0f);
            drawWorld();
            const ModelData& record = *lastModel->getModel();
            ASSERT_NE(record.pFinalMaterial, nullptr);
            EXPECT_EQ(std::vector<float>(witness->diffuse, witness->diffuse + 4),
                      std::vector<float>(record.pFinalMaterial->diffuse,
                                         record.pFinalMaterial->diffuse + 4));
            EXPECT_EQ(witness->texture, record.iFinalTexture);
            EXPECT_EQ(std::vector<float>(witness->normal, witness->normal + 3),
                      std::vector<float>(record.fFinalNormal, record.fFinalNormal + 3));
        }
        for (auto& element : *world) {
            element->setHealth(element.get() == witness ? 1.0f : 0.0f);
        }
        world->update(0.0);
    }
    const ModelData& asteroid = *world->modelCache.at(kKindAsteroid);
    const ModelData& knacker = *world->modelCache.at(kKindKnacker);
    EXPECT_NE(asteroid.iFinalTexture, knacker.iFinalTexture) << "the two leave apart";
    EXPECT_NE(asteroid.fFinalNormal[0], knacker.fFinalNormal[0]);
}

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

TEST_F(DrawingShortcutsTest, AShieldOutOfViewLeavesWhatItsDrawingWould) {
    // Smoke drawn after a shield is lit with the shield's last normal: whether the shield was
    // drawn ahead or skipped behind the eye, what is drawn after it finds the same material
    // (with the shield's glow), colour and normal. A negative radius draws no wires, and so
    // leaves the normal found before it.
    for (float radius : {30.0f, -30.0f}) {
        Object3D* shield = world->addElement(kKindShield);
        shield->setRadius(radius);
        // With no ship in this world every distance is the same, and the list's order decides.
        auto* witness = static_cast<StateWitness*>(
            world->file(std::make_unique<StateWitness>(world, true), true));
        std::vector<float> drawn;
        for (float z : {-300.0f, 300.0f}) {
            shield->setPos(0.0f, 0.0f, z);
            glNormal3f(0.0f, 1.0f, 0.0f);
            const int lit = litPixels(drawWorld());
            EXPECT_EQ(lit > 0, z < 0.0f && radius > 0.0f) << "radius " << radius << ", z " << z;
            if (z < 0.0f) {
                drawn = witness->seen();
            } else {
                EXPECT_EQ(witness->seen(), drawn) << "radius " << radius;
            }
        }
        EXPECT_EQ(drawn[14], radius > 0.0f ? -1.0f : 0.0f) << "the normal's z";
        EXPECT_GT(static_cast<Shield*>(shield)->getGlow(), 0.0) << "the glow is in the ambient";
        shield->setHealth(0.0f);
        witness->setHealth(0.0f);
        world->update(0.0);
    }
}
