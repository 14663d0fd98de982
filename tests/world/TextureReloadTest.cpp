// Changing the texture filter again and again: a kind takes new textures with the new filter and
// keeps only those its display list binds and its current ones, so F6 never piles textures up.
#include "assets/ObjectTexture.h"
#include "tests/support/WorldFixture.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

using TextureReloadTest = testsupport::WorldTest;

std::vector<unsigned> texturesOf(const Object3D& element) {
    std::vector<unsigned> names;
    for (const Material& material :
         static_cast<Ms3dModelData*>(element.getModel())->pMs3dModel->materials) {
        if (material.texture != 0) {
            names.push_back(material.texture);
        }
    }
    return names;
}

// Deleted names may be handed out again, but only to the kind's own current textures.
bool goneBut(const std::vector<unsigned>& names, const std::vector<unsigned>& current) {
    return std::all_of(names.begin(), names.end(), [&](unsigned name) {
        return !glIsTexture(name) || std::count(current.begin(), current.end(), name) > 0;
    });
}

TEST_F(TextureReloadTest, ReplacedTexturesLiveOnlyWhileAKindsDisplayListBindsThem) {
    // With the shared list, a living element compiles it afresh at once; compiled per element,
    // the old list binds the old textures until the kind's next element compiles its own.
    for (bool sharedList : {true, false}) {
        SCOPED_TRACE(sharedList ? "one list per kind" : "a list per element");
        world->drawingShortcuts = sharedList ? kShortcutsAll : kShortcutsAll & ~kShortcutLists;
        world->iTextureFilter = kFilterPoint;
        const Object3D* rock = world->addElement(kKindAsteroid);
        const std::vector<unsigned> listed = texturesOf(*rock);
        const unsigned firstList = rock->getModel()->iDisplayList;
        ASSERT_FALSE(listed.empty());
        world->iTextureFilter = kFilterBilinear;
        world->reloadTextures();
        const std::vector<unsigned> between = texturesOf(*rock);
        for (unsigned texture : between) { // the new ones take the new filter
            GLint magFilter = 0;
            glBindTexture(GL_TEXTURE_2D, texture);
            glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
            EXPECT_EQ(magFilter, GL_LINEAR);
        }
        if (sharedList) { // compiled afresh at once
            EXPECT_FALSE(glIsList(firstList));
            EXPECT_TRUE(glIsList(rock->getModel()->iDisplayList));
        }
        world->reloadTextures();
        // Textures no list came to bind go with the next change.
        EXPECT_TRUE(goneBut(between, texturesOf(*rock)));
        EXPECT_EQ(
            std::all_of(listed.begin(), listed.end(), [](unsigned n) { return glIsTexture(n); }),
            !sharedList);

        world->addElement(kKindAsteroid); // the kind's next element
        EXPECT_TRUE(goneBut(listed, texturesOf(*rock)));
        const std::vector<unsigned> current = texturesOf(*rock);
        EXPECT_TRUE(
            std::all_of(current.begin(), current.end(), [](unsigned n) { return glIsTexture(n); }));
    }
}

TEST_F(TextureReloadTest, AWorldBuiltAgainLetsTheOldModelsTexturesAndListGo) {
    // After a filter change with a list per element, the kind holds textures its list binds
    // and newer ones no list has bound yet: both go.
    world->drawingShortcuts = kShortcutsAll & ~kShortcutLists;
    const Object3D* rock = world->addElement(kKindAsteroid);
    std::vector<unsigned> textures = texturesOf(*rock);
    world->reloadTextures();
    const std::vector<unsigned> newer = texturesOf(*rock);
    textures.insert(textures.end(), newer.begin(), newer.end());
    const unsigned list = rock->getModel()->iDisplayList;
    delete world; // as playing again does
    world = ElementContainer::getInstance();
    EXPECT_TRUE(goneBut(textures, {}));
    EXPECT_FALSE(glIsList(list));
}

} // namespace
