// Changing the texture filter again and again: a kind keeps only the textures its display list
// binds and its current ones, and its next element's list lets the old ones go.
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

TEST_F(TextureReloadTest, ReplacedTexturesLiveOnlyWhileTheKindsDisplayListBindsThem) {
    const Object3D* rock = world->addElement(kKindAsteroid);
    const std::vector<unsigned> listed = texturesOf(*rock);
    ASSERT_FALSE(listed.empty());
    world->reloadTextures();
    const std::vector<unsigned> unbound = texturesOf(*rock);
    world->reloadTextures();
    EXPECT_TRUE(std::all_of(listed.begin(), listed.end(), [](unsigned n) {
        return glIsTexture(n);
    })) << "the display list still binds them";
    EXPECT_TRUE(goneBut(unbound, texturesOf(*rock))) << "nothing binds them any more";

    world->addElement(kKindAsteroid); // compiles the kind's next list with the current textures
    EXPECT_TRUE(goneBut(listed, texturesOf(*rock)));
    const std::vector<unsigned> current = texturesOf(*rock);
    EXPECT_TRUE(
        std::all_of(current.begin(), current.end(), [](unsigned n) { return glIsTexture(n); }));
}

} // namespace
