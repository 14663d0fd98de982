// Builds the knacker: every part is made once for the +z face or one edge and then turned into
// place for the others, so the block is symmetric under its cube rotations.
#include "tools/datagen/KnackerModel.h"

#include "tools/datagen/MeshShapes.h"
#include "tools/datagen/ModelMaterials.h"
#include "tools/datagen/ModelTextures.h"

#include <vector>

namespace {

const float kFace = 4.0f;  // outer face of the armour plates, from the centre (model units)
const float kEdge = 3.75f; // axis of the edge girders and centre of the corner nodes
// The far model's box: half its side and its bevel.
const float kFarHalf = 4.25f;
const float kFarBevel = 0.3f;
// How far the far model's vents rise above its box.
const float kFarVentHeight = 0.1f;

// Rotations taking the +z face to each of the six faces.
std::vector<Affine> faceTurns() {
    return {Affine(),
            Affine::rotation({0, 1, 0}, 180),
            Affine::rotation({0, 1, 0}, 90),
            Affine::rotation({0, 1, 0}, -90),
            Affine::rotation({1, 0, 0}, 90),
            Affine::rotation({1, 0, 0}, -90)};
}

Mesh onEveryFace(const Mesh& part) {
    Mesh all;
    for (const Affine& turn : faceTurns()) {
        Mesh m = part;
        m.transform(turn);
        all.append(m);
    }
    return all;
}

Mesh placed(Mesh mesh, const Affine& where) {
    mesh.transform(where);
    return mesh;
}

// The far knacker: the block's outline, a bevelled box in armour just over the plates (so that
// the nodes, vents and rims stray least from it), with its glowing vents, drawn last as in the
// model: from afar the knacker is a grey block with red eyes.
Ms3dWriter buildFarKnacker(const Ms3dMaterialSpec& armourSpec, const Ms3dMaterialSpec& ventSpec) {
    Ms3dWriter model;
    const int armour = model.addMaterial(armourSpec);
    const int vent = model.addMaterial(ventSpec);
    Mesh block = makeBevelBox({kFarHalf, kFarHalf, kFarHalf}, kFarBevel);
    projectUvBoxed(block, 1.0f / 8.0f);
    model.addGroup("block", block, armour);
    Mesh lens = placed(
        makeSphere(6, 2),
        Affine::scaling({1.0f, 1.0f, kFarVentHeight}).then(Affine::translation({0, 0, kFarHalf})));
    model.addGroup("vents", onEveryFace(lens), vent);
    return model;
}

} // namespace

Ms3dWriter buildKnackerModel(Detail detail) {
    const Ms3dMaterialSpec armourSpec =
        litMaterial("armour", 0.85f, 0.85f, 0.82f, 0.3f, kPanelTexture, kScaledModelAmbient);
    const Ms3dMaterialSpec ventSpec = glowMaterial("vent", 1.0f, 0.25f, 0.08f, kGlowTexture);
    if (detail == Detail::Far) {
        return buildFarKnacker(armourSpec, ventSpec);
    }
    // Drawn in this order: what lies on the plates comes after them, so that it wins where the
    // depth buffer cannot tell them apart from afar.
    Ms3dWriter model;
    int core = model.addMaterial(glowMaterial("core", 0.9f, 0.35f, 0.05f));
    int armour = model.addMaterial(armourSpec);
    int girder = model.addMaterial(
        litMaterial("girder", 0.45f, 0.47f, 0.52f, 0.5f, kHullTexture, kScaledModelAmbient));
    int brass =
        model.addMaterial(litMaterial("brass", 0.78f, 0.6f, 0.3f, 0.8f, "", kScaledModelAmbient));
    int vent = model.addMaterial(ventSpec);

    model.addGroup("core", placed(makeSphere(10, 6), Affine::scaling({3.3f, 3.3f, 3.3f})), core);

    // Plates: thick bevelled slabs whose outer face carries the whole panel texture.
    Mesh plate = makeBevelBox({3.0f, 3.0f, 0.35f}, 0.25f);
    projectUv(plate, {1.0f / 6.0f, 0, 0}, {0, 1.0f / 6.0f, 0}, 1.0f, {-3.0f, -3.0f, 0});
    plate.transform(Affine::translation({0, 0, kFace - 0.35f}));
    model.addGroup("plates", onEveryFace(plate), armour);

    // The frame, all of one metal and so one draw: edge girders with a collar, four along z
    // turned to cover the other eight edges, the corner nodes and the vents' rims.
    Mesh beam = makeLathe({{-kEdge, 0.55f},
                           {-0.4f, 0.55f},
                           {-0.3f, 0.72f},
                           {0.3f, 0.72f},
                           {0.4f, 0.55f},
                           {kEdge, 0.55f}},
                          6, 2.0f, 40.0f);
    Mesh zEdges;
    for (float x : {-kEdge, kEdge}) {
        for (float y : {-kEdge, kEdge}) {
            zEdges.append(placed(beam, Affine::translation({x, y, 0})));
        }
    }
    Mesh frame = zEdges;
    frame.append(placed(zEdges, Affine::rotation({0, 1, 0}, 90)));
    frame.append(placed(zEdges, Affine::rotation({1, 0, 0}, 90)));
    Mesh node = makeSphere(6, 4);
    for (float x : {-kEdge, kEdge}) {
        for (float y : {-kEdge, kEdge}) {
            for (float z : {-kEdge, kEdge}) {
                frame.append(placed(
                    node,
                    Affine::scaling({0.95f, 0.95f, 0.95f}).then(Affine::translation({x, y, z}))));
            }
        }
    }
    Mesh rim = placed(makeTorus(1.15f, 0.25f, 12, 3), Affine::translation({0, 0, kFace + 0.05f}));
    frame.append(onEveryFace(rim));
    model.addGroup("frame", frame, girder);

    // Hexagonal bolts near the plate corners.
    Mesh bolt =
        makeLathe({{-0.1f, 0.0f}, {-0.1f, 0.3f}, {0.2f, 0.3f}, {0.3f, 0.0f}}, 6, 1.0f, 45.0f);
    Mesh bolts;
    for (float x : {-2.3f, 2.3f}) {
        for (float y : {-2.3f, 2.3f}) {
            bolts.append(placed(bolt, Affine::translation({x, y, kFace})));
        }
    }
    model.addGroup("bolts", onEveryFace(bolts), brass);

    // Vents last, as in the far model: both leave their material behind. A raised glowing lens
    // in a ring, in the middle of each plate.
    Mesh lens =
        placed(makeSphere(8, 4),
               Affine::scaling({1.0f, 1.0f, 0.35f}).then(Affine::translation({0, 0, kFace})));
    model.addGroup("vents", onEveryFace(lens), vent);
    return model;
}
