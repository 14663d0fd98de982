// Builds the enemy fighter from lofts and lathes. Model space: +z is the direction of flight,
// +y is up, and every vertex stays within the fighter's collision radius of 40.
#include "tools/datagen/FighterModel.h"

#include "tools/datagen/MeshShapes.h"
#include "tools/datagen/MeshSimplifier.h"
#include "tools/datagen/ModelMaterials.h"
#include "tools/datagen/ModelTextures.h"

#include <cmath>
#include <vector>

namespace {

// How finely each part is divided: points around the fuselage and the wing and fin sections,
// segments around the lathed parts and the canopy's rings.
struct Divisions {
    int fuselage;
    int airfoil;
    int canopySegments, canopyRings;
    int nacelle, exhaust, gun;
    int lightSegments, lightRings;
};
const Divisions kDivisions{12, 10, 10, 6, 8, 8, 6, 6, 4};
// The far model keeps about this share of each part's triangles, and at least kFarLeast.
const int kFarShare = 4;
const int kFarShareThin = 2;
const float kFarTextureRepeats = 1.0f / 24.0f; // per model unit

// Fuselage cross-section: an ellipse whose belly is flatter than its back.
std::vector<Vec3> fuselageRing(float z, float halfWidth, float halfHeight, float centreY,
                               int points) {
    std::vector<Vec3> ring;
    for (int i = 0; i < points; ++i) {
        float a = 2 * kPi * static_cast<float>(i) / static_cast<float>(points);
        float s = std::sin(a);
        ring.push_back(
            {halfWidth * std::cos(a), centreY + halfHeight * s * (s < 0 ? 0.7f : 1.0f), z});
    }
    return ring;
}

Mesh makeFuselage(int points) {
    struct Station {
        float z, halfWidth, halfHeight, centreY;
    };
    const Station stations[] = {{-29.0f, 4.2f, 3.0f, 0.6f}, {-27.0f, 4.8f, 3.5f, 0.6f},
                                {-16.0f, 5.6f, 4.1f, 0.6f}, {-2.0f, 5.2f, 4.3f, 0.8f},
                                {10.0f, 4.2f, 3.8f, 0.7f},  {20.0f, 3.0f, 2.8f, 0.3f},
                                {28.0f, 1.8f, 1.7f, -0.1f}, {34.0f, 0.6f, 0.6f, -0.4f}};
    std::vector<std::vector<Vec3>> rings;
    for (const Station& s : stations) {
        rings.push_back(fuselageRing(s.z, s.halfWidth, s.halfHeight, s.centreY, points));
    }
    LoftOptions options;
    options.startBulge = 0.6f;
    options.endBulge = 2.2f; // pointed nose reaching z = 36.2
    options.vRepeat = 3.0f;
    options.creaseDegrees = 60.0f;
    return makeLoft(rings, options);
}

// Symmetric airfoil section in the z-y plane at span station x, its leading edge at `lead`.
std::vector<Vec3> airfoilRing(float x, float y, float lead, float trail, float thickness,
                              int points) {
    std::vector<Vec3> ring;
    for (int i = 0; i < points; ++i) {
        float a = 2 * kPi * static_cast<float>(i) / points;
        float chord = 0.5f * (1.0f - std::cos(a)); // 0 at the leading edge, 1 at the trailing
        float half = 0.5f * thickness * std::sin(a) * (1.0f - 0.65f * chord);
        ring.push_back({x, y + half, lead + (trail - lead) * chord});
    }
    return ring;
}

Mesh makeWing(int points) {
    std::vector<std::vector<Vec3>> rings = {airfoilRing(3.0f, -0.6f, 6.0f, -20.0f, 1.8f, points),
                                            airfoilRing(13.0f, -0.1f, -5.0f, -22.0f, 1.2f, points),
                                            airfoilRing(25.0f, 0.6f, -16.0f, -24.5f, 0.6f, points)};
    LoftOptions options;
    options.endBulge = 0.4f;
    options.creaseDegrees = 70.0f;
    Mesh wing = makeLoft(rings, options);
    projectUv(wing, {1, 0, 0}, {0, 0, 1}, 1.0f / 24.0f);
    return wing;
}

// Fin rising from the rear fuselage, canted outward by `cant` degrees.
Mesh makeFin(float side, int points) {
    auto section = [points](float y, float x, float lead, float trail, float thickness) {
        std::vector<Vec3> ring;
        for (const Vec3& p : airfoilRing(0, 0, lead, trail, thickness, points)) {
            ring.push_back({x + p.y, y, p.z});
        }
        return ring;
    };
    LoftOptions options;
    options.endBulge = 0.3f;
    options.creaseDegrees = 70.0f;
    Mesh fin = makeLoft(
        {section(2.0f, 0, -12.0f, -28.0f, 1.0f), section(11.0f, 0, -24.0f, -31.0f, 0.5f)}, options);
    projectUv(fin, {0, 0, 1}, {0, 1, 0}, 1.0f / 12.0f);
    fin.transform(Affine::rotation({0, 0, 1}, -14.0f * side)
                      .then(Affine::translation({2.6f * side, 0.8f, 0})));
    return fin;
}

// Engine pod: intake at the front, a nozzle lip at the rear whose inside faces the axis.
Mesh makeNacelle(int segments) {
    return makeLathe({{-30.2f, 0.0f},
                      {-30.2f, 2.0f},
                      {-31.0f, 2.3f},
                      {-29.5f, 2.9f},
                      {-24.0f, 3.1f},
                      {-10.0f, 3.1f},
                      {-5.5f, 2.6f},
                      {-4.0f, 1.4f},
                      {-4.0f, 0.0f}},
                     segments, 2.0f, 40.0f);
}

// The glowing exhaust cone inside a nozzle, its tip trailing behind the fighter.
Mesh makeExhaust(int segments) {
    return makeLathe({{-33.0f, 0.0f}, {-32.0f, 1.2f}, {-30.6f, 2.0f}, {-30.3f, 0.0f}}, segments,
                     1.0f, 60.0f);
}

Mesh makeGun(int segments) {
    return makeLathe(
        {{1.0f, 0.0f}, {1.0f, 0.8f}, {4.0f, 0.8f}, {4.6f, 0.45f}, {15.0f, 0.45f}, {15.0f, 0.0f}},
        segments, 1.0f, 40.0f);
}

Mesh placed(Mesh mesh, const Affine& where) {
    mesh.transform(where);
    return mesh;
}

// A part as the model has it; the far model's keeps a share of its triangles (thin parts more).
Mesh part(const Mesh& mesh, Detail detail, float creaseDegrees, int farShare = kFarShare) {
    return detail == Detail::Near
               ? mesh
               : MeshSimplifier::farPart(mesh, farShare, creaseDegrees, kFarTextureRepeats);
}

} // namespace

Ms3dWriter buildFighterModel(Detail detail) {
    const Divisions& d = kDivisions;
    Ms3dWriter model;
    int hull = model.addMaterial(litMaterial("hull", 0.82f, 0.74f, 0.56f, 0.35f, kHullTexture));
    int wing = model.addMaterial(litMaterial("wing", 0.62f, 0.58f, 0.50f, 0.3f, kHullTexture));
    int fin = model.addMaterial(litMaterial("fin", 0.80f, 0.76f, 0.66f, 0.25f, kPanelTexture));
    int canopy = model.addMaterial(litMaterial("canopy", 0.08f, 0.14f, 0.26f, 1.0f));
    int engine = model.addMaterial(litMaterial("engine", 0.38f, 0.38f, 0.42f, 0.6f, kHullTexture));
    int exhaust = model.addMaterial(glowMaterial("exhaust", 1.0f, 0.62f, 0.22f, kGlowTexture));
    int portLight = model.addMaterial(glowMaterial("port light", 1.0f, 0.12f, 0.08f));
    int starboardLight = model.addMaterial(glowMaterial("starboard light", 0.15f, 1.0f, 0.25f));

    Mesh fuselage = part(makeFuselage(d.fuselage), detail, 60.0f);
    Mesh bubble = makeSphere(d.canopySegments, d.canopyRings);
    bubble.transform(
        Affine::scaling({2.7f, 2.6f, 8.5f}).then(Affine::translation({0, 3.9f, 12.0f})));
    const Mesh oneWing = part(makeWing(d.airfoil), detail, 70.0f, kFarShareThin);
    Mesh wings = oneWing;
    wings.append(placed(oneWing, Affine::scaling({-1, 1, 1})));
    Mesh fins = part(makeFin(1.0f, d.airfoil), detail, 70.0f, kFarShareThin);
    fins.append(part(makeFin(-1.0f, d.airfoil), detail, 70.0f, kFarShareThin));
    if (detail == Detail::Near) {
        model.addGroup("fuselage", fuselage, hull);
        model.addGroup("canopy", bubble, canopy);
        model.addGroup("wings", wings, wing);
        model.addGroup("fins", fins, fin);
    } else {
        // From afar the wings' and fins' shades of the hull's tan are a pixel or two: one draw.
        fuselage.append(wings);
        fuselage.append(fins);
        model.addGroup("hull", fuselage, hull);
        model.addGroup("canopy", part(bubble, detail, 90.0f), canopy);
    }

    // Engines and guns share their metal: one draw.
    const Mesh nacelle = part(makeNacelle(d.nacelle), detail, 40.0f);
    const Mesh gun = part(makeGun(d.gun), detail, 40.0f, kFarShareThin);
    Mesh metal = placed(nacelle, Affine::translation({7.4f, -2.0f, 0}));
    metal.append(placed(nacelle, Affine::translation({-7.4f, -2.0f, 0})));
    metal.append(placed(gun, Affine::translation({10.5f, -1.2f, 0})));
    metal.append(placed(gun, Affine::translation({-10.5f, -1.2f, 0})));
    model.addGroup("engines and guns", metal, engine);

    const Mesh cone = part(makeExhaust(d.exhaust), detail, 60.0f);
    Mesh exhausts = placed(cone, Affine::translation({7.4f, -2.0f, 0}));
    exhausts.append(placed(cone, Affine::translation({-7.4f, -2.0f, 0})));
    model.addGroup("exhausts", exhausts, exhaust);

    // The game maps model +x to the ship's right: green light on the right tip, red on the left.
    const Mesh light = part(makeSphere(d.lightSegments, d.lightRings), detail, 90.0f);
    model.addGroup("port light",
                   placed(light, Affine::scaling({0.7f, 0.7f, 0.7f})
                                     .then(Affine::translation({-25.2f, 0.6f, -20.5f}))),
                   portLight);
    model.addGroup("starboard light",
                   placed(light, Affine::scaling({0.7f, 0.7f, 0.7f})
                                     .then(Affine::translation({25.2f, 0.6f, -20.5f}))),
                   starboardLight);
    return model;
}
