// Builds the bonus crystal: a faceted hexagonal bipyramid, two tilted tori and four tiny
// octahedral sparks, all self-lit so the item reads from afar.
#include "tools/datagen/BonusModel.h"

#include "tools/datagen/MeshShapes.h"
#include "tools/datagen/ModelMaterials.h"
#include "tools/datagen/ModelTextures.h"

#include <cmath>

namespace {

Mesh placed(Mesh mesh, const Affine& where) {
    mesh.transform(where);
    return mesh;
}

} // namespace

Ms3dWriter buildBonusModel(Detail detail) {
    // Segments around each ring and around its tube: fewer from afar.
    const bool near = detail == Detail::Near;
    const int ringSegments = near ? 14 : 8;
    const int tubeSegments = near ? 4 : 3;
    Ms3dWriter model;
    Ms3dMaterialSpec gem = glowMaterial("crystal", 0.25f, 0.95f, 0.6f, kGlowTexture);
    gem.emissive = {0.12f, 0.5f, 0.32f, 1}; // half the glow, so the facets still shade
    gem.diffuse = {0.3f, 1.0f, 0.7f, 1};
    gem.specular = {1, 1, 1, 1};
    gem.shininess = 90;
    int crystal = model.addMaterial(gem);
    Ms3dMaterialSpec metal = litMaterial("gold", 0.95f, 0.72f, 0.25f, 0.9f);
    metal.emissive = {0.22f, 0.15f, 0.03f, 1};
    int gold = model.addMaterial(metal);

    // Six-sided crystal along z, stood upright: tips 10 units apart. Hard facet edges.
    Mesh crystalMesh =
        makeLathe({{-5.0f, 0.0f}, {-2.2f, 2.0f}, {2.2f, 2.0f}, {5.0f, 0.0f}}, 6, 2.0f, 25.0f);
    crystalMesh.transform(Affine::rotation({1, 0, 0}, -90.0f));
    model.addGroup("crystal", crystalMesh, crystal);

    const Mesh ring = makeTorus(3.6f, 0.28f, ringSegments, tubeSegments);
    Mesh rings =
        placed(ring, Affine::rotation({1, 0, 0}, 90.0f).then(Affine::rotation({0, 0, 1}, 25.0f)));
    rings.append(
        placed(ring, Affine::rotation({1, 0, 0}, 90.0f).then(Affine::rotation({0, 0, 1}, -25.0f))));

    // Four tiny octahedral sparks of the rings' gold: one draw with them.
    Mesh sparks;
    Mesh octahedron = makeLathe({{-0.45f, 0.0f}, {0.0f, 0.45f}, {0.45f, 0.0f}}, 4, 1.0f, 20.0f);
    for (int i = 0; i < 4; ++i) {
        float a = kPi * 0.5f * static_cast<float>(i) + 0.4f;
        float y = (i % 2 == 0) ? 2.5f : -2.5f;
        sparks.append(
            placed(octahedron, Affine::translation({4.4f * std::cos(a), y, 4.4f * std::sin(a)})));
    }
    rings.append(sparks);
    model.addGroup("rings and sparks", rings, gold);
    return model;
}
