// The model-backed objects as the level places them: each kind's generated model, health, size,
// turn and radar colour, and that they stay put and last the designed number of hits.
#include "tests/game/GameWorldTest.h"

using gametest::GameWorldTest;

using ModelObjectsTest = GameWorldTest;

TEST_F(ModelObjectsTest, EachKindHasItsModelHealthSizeTurnAndRadarColour) {
    const struct {
        int kind;
        const char* model;
        float health, radius, scale, viewX; // viewX -1: turned a quarter round to the left
        float radar[3];
        int hitsToDestroy;
    } kinds[] = {
        {kKindBonus, "data/model/bonus2.ms3d", 100, 10, 1, 0, {0, 0, 0}, 3},
        {kKindAsteroid, "data/model/asteroid.ms3d", 100, 20, 6, 0, {0.5f, 0.5f, 0.5f}, 3},
        {kKindKnacker, "data/model/knacker.ms3d", 500, 50, 6, -1, {1, 0, 0}, 13},
        {kKindFighter, "data/model/semmel.ms3d", 100, 40, 1, 0, {1, 1, 0}, 3},
    };
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.model);
        Object3D* object = world->addElement(k.kind);
        EXPECT_EQ(object->getModelFile(), k.model);
        EXPECT_EQ(object->getModel(), world->modelCache.at(k.kind).get()) << "cached by kind";
        // The generated model loads with its parts and their textures.
        const Model& model = *static_cast<Ms3dModelData*>(object->getModel())->pMs3dModel;
        EXPECT_GT(model.getGroupCount(), 0);
        for (const Material& material : model.materials) {
            EXPECT_TRUE(material.textureFile.empty() || material.texture != 0)
                << material.textureFile;
        }
        EXPECT_EQ(object->getHealth(), k.health);
        EXPECT_EQ(object->getRadius(), k.radius);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(object->getScale(i), k.scale);
            EXPECT_EQ(object->getRadarColor(i), k.radar[i]);
        }
        EXPECT_NEAR(object->getView(0), k.viewX, 1e-6);
        EXPECT_NEAR(object->getUp(1), 1.0f, 1e-6) << "turned about its up axis only";
        int hits = 0;
        object->setActive(true); // a fighter's own health, past its shield
        while (object->getHealth() > 0.0f) {
            object->hit(40.0f);
            object->update(1.0);
            ++hits;
        }
        EXPECT_EQ(hits, k.hitsToDestroy);
        if (k.kind != kKindFighter) {
            EXPECT_EQ(object->getPos(2), 0.0f) << "it never moves";
        }
    }
}
