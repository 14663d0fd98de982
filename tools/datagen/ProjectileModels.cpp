// Builds the shots. Both fly along +z and glow by themselves, since they are seen against black
// space from every side.
#include "tools/datagen/ProjectileModels.h"

#include "tools/datagen/MeshShapes.h"
#include "tools/datagen/MeshSimplifier.h"
#include "tools/datagen/ModelMaterials.h"
#include "tools/datagen/ModelTextures.h"

#include <cmath>

namespace {

Mesh placed(Mesh mesh, const Affine& where) {
    mesh.transform(where);
    return mesh;
}

// A part as the model has it; the far model's keeps a third of its triangles.
Mesh part(const Mesh& mesh, Detail detail, float creaseDegrees) {
    const int kFarShare = 3;
    const float kFarTextureRepeats = 1.0f / 4.0f; // per model unit
    return detail == Detail::Near
               ? mesh
               : MeshSimplifier::farPart(mesh, kFarShare, creaseDegrees, kFarTextureRepeats, 6);
}

} // namespace

Ms3dWriter buildLaserBoltModel(Detail detail) {
    Ms3dWriter model;
    int core = model.addMaterial(glowMaterial("core", 0.85f, 1.0f, 0.9f));
    int pulse = model.addMaterial(glowMaterial("pulse", 0.2f, 1.0f, 0.35f, kGlowTexture));
    model.addGroup("core", part(makeCapsule(0.35f, 15.0f, 6, 2), detail, 90.0f), core);
    // Beads of energy along the bolt, thinning toward the tail.
    Mesh beads;
    const float centres[4] = {5.0f, 1.6f, -1.8f, -5.0f};
    const float radii[4] = {0.8f, 0.68f, 0.56f, 0.45f};
    for (int i = 0; i < 4; ++i) {
        beads.append(placed(part(makeSphere(6, 4), detail, 90.0f),
                            Affine::scaling({radii[i], radii[i], 1.5f})
                                .then(Affine::translation({0, 0, centres[i]}))));
    }
    model.addGroup("pulses", beads, pulse);
    return model;
}

Ms3dWriter buildSausageModel(Detail detail) {
    Ms3dWriter model;
    int skin = model.addMaterial(glowMaterial("skin", 0.95f, 0.2f, 0.1f, kGlowTexture));
    int knot = model.addMaterial(glowMaterial("knot", 0.55f, 0.12f, 0.05f));
    int string = model.addMaterial(litMaterial("string", 0.9f, 0.85f, 0.7f, 0.1f));

    // Sausages are curved: the middle rides 1.2 units above the ends.
    auto bend = [](const Vec3& p) {
        float t = p.z / 6.8f;
        return Vec3(p.x, p.y + 1.2f * (1.0f - t * t), p.z);
    };
    Mesh body = makeCapsule(1.6f, 12.0f, 10, 3);
    body.displace(bend);
    body.computeNormals(90.0f);
    model.addGroup("body", part(body, detail, 90.0f), skin);

    // Twisted ends: little cones at both tips.
    Mesh tip = makeLathe({{5.2f, 0.0f}, {5.2f, 0.85f}, {6.2f, 0.35f}, {6.45f, 0.5f}, {6.8f, 0.0f}},
                         6, 1.0f, 50.0f);
    Mesh knots = tip;
    knots.append(placed(tip, Affine::rotation({0, 1, 0}, 180)));
    knots.displace(bend);
    knots.computeNormals(50.0f);
    model.addGroup("knots", part(knots, detail, 50.0f), knot);

    Mesh band = placed(makeTorus(0.5f, 0.1f, 8, 3), Affine::translation({0, 0, 6.2f}));
    Mesh bands = band;
    bands.append(placed(band, Affine::rotation({0, 1, 0}, 180)));
    bands.displace(bend);
    model.addGroup("strings", part(bands, detail, 60.0f), string);
    return model;
}
