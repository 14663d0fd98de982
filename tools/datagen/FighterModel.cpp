// Builds the enemy fighter from lofts and lathes. Model space: +z is the direction of flight,
// +y is up, and every vertex stays within the fighter's collision radius of 40.
#include "tools/datagen/FighterModel.h"

#include "tools/datagen/MeshShapes.h"
#include "tools/datagen/ModelMaterials.h"
#include "tools/datagen/ModelTextures.h"

#include <cmath>
#include <vector>

namespace {

const int kRingPoints = 24;

// Fuselage cross-section: an ellipse whose belly is flatter than its back.
std::vector<Vec3> fuselageRing(float z, float halfWidth, float halfHeight, float centreY) {
    std::vector<Vec3> ring;
    for (int i = 0; i < kRingPoints; ++i) {
        float a = 2 * kPi * static_cast<float>(i) / kRingPoints;
        float s = std::sin(a);
        ring.push_back(
            {halfWidth * std::cos(a), centreY + halfHeight * s * (s < 0 ? 0.7f : 1.0f), z});
    }
    return ring;
}

Mesh makeFuselage() {
    struct Station {
        float z, halfWidth, halfHeight, centreY;
    };
    const Station stations[] = {{-29.0f, 4.2f, 3.0f, 0.6f}, {-27.0f, 4.8f, 3.5f, 0.6f},
                                {-16.0f, 5.6f, 4.1f, 0.6f}, {-2.0f, 5.2f, 4.3f, 0.8f},
                                {10.0f, 4.2f, 3.8f, 0.7f},  {20.0f, 3.0f, 2.8f, 0.3f},
                                {28.0f, 1.8f, 1.7f, -0.1f}, {34.0f, 0.6f, 0.6f, -0.4f}};
    std::vector<std::vector<Vec3>> rings;
    for (const Station& s : stations) {
        rings.push_back(fuselageRing(s.z, s.halfWidth, s.halfHeight, s.centreY));
    }
    LoftOptions options;
    options.startBulge = 0.6f;
    options.endBulge = 2.2f; // pointed nose reaching z = 36.2
    options.vRepeat = 3.0f;
    options.creaseDegrees = 60.0f;
    return makeLoft(rings, options);
}

// Symmetric airfoil section in the z-y plane at span station x, its leading edge at `lead`.
std::vector<Vec3> airfoilRing(float x, float y, float lead, float trail, float thickness) {
    std::vector<Vec3> ring;
    const int points = 16;
    for (int i = 0; i < points; ++i) {
        float a = 2 * kPi * static_cast<float>(i) / points;
        float chord = 0.5f * (1.0f - std::cos(a)); // 0 at the leading edge, 1 at the trailing
        float half = 0.5f * thickness * std::sin(a) * (1.0f - 0.65f * chord);
        ring.push_back({x, y + half, lead + (trail - lead) * chord});
    }
    return ring;
}

Mesh makeWing() {
    std::vector<std::vector<Vec3>> rings = {airfoilRing(3.0f, -0.6f, 6.0f, -20.0f, 1.8f),
                                            airfoilRing(13.0f, -0.1f, -5.0f, -22.0f, 1.2f),
                                            airfoilRing(25.0f, 0.6f, -16.0f, -24.5f, 0.6f)};
    LoftOptions options;
    options.endBulge = 0.4f;
    options.creaseDegrees = 70.0f;
    Mesh wing = makeLoft(rings, options);
    projectUv(wing, {1, 0, 0}, {0, 0, 1}, 1.0f / 24.0f);
    return wing;
}

// Fin rising from the rear fuselage, canted outward by `cant` degrees.
Mesh makeFin(float side) {
    auto section = [](float y, float x, float lead, float trail, float thickness) {
        std::vector<Vec3> ring;
        for (const Vec3& p : airfoilRing(0, 0, lead, trail, thickness)) {
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
Mesh makeNacelle() {
    return makeLathe({{-30.2f, 0.0f},
                      {-30.2f, 2.0f},
                      {-31.0f, 2.1f},
                      {-31.0f, 2.5f},
                      {-29.5f, 2.9f},
                      {-24.0f, 3.1f},
                      {-10.0f, 3.1f},
                      {-6.0f, 2.7f},
                      {-4.2f, 2.0f},
                      {-4.0f, 1.2f},
                      {-4.0f, 0.0f}},
                     20, 2.0f, 40.0f);
}

// The glowing exhaust cone inside a nozzle, its tip trailing behind the fighter.
Mesh makeExhaust() {
    return makeLathe(
        {{-33.0f, 0.0f}, {-32.0f, 1.2f}, {-30.8f, 1.9f}, {-30.3f, 2.0f}, {-30.3f, 0.0f}}, 20, 1.0f,
        60.0f);
}

Mesh makeGun() {
    return makeLathe({{1.0f, 0.0f},
                      {1.0f, 0.8f},
                      {4.0f, 0.8f},
                      {4.6f, 0.45f},
                      {15.0f, 0.45f},
                      {15.0f, 0.28f},
                      {14.4f, 0.28f},
                      {14.4f, 0.0f}},
                     10, 1.0f, 40.0f);
}

Mesh placed(Mesh mesh, const Affine& where) {
    mesh.transform(where);
    return mesh;
}

} // namespace

Ms3dWriter buildFighterModel() {
    Ms3dWriter model;
    int hull = model.addMaterial(litMaterial("hull", 0.82f, 0.74f, 0.56f, 0.35f, kHullTexture));
    int wing = model.addMaterial(litMaterial("wing", 0.62f, 0.58f, 0.50f, 0.3f, kHullTexture));
    int fin = model.addMaterial(litMaterial("fin", 0.80f, 0.76f, 0.66f, 0.25f, kPanelTexture));
    int canopy = model.addMaterial(litMaterial("canopy", 0.08f, 0.14f, 0.26f, 1.0f));
    int engine = model.addMaterial(litMaterial("engine", 0.38f, 0.38f, 0.42f, 0.6f, kHullTexture));
    int exhaust = model.addMaterial(glowMaterial("exhaust", 1.0f, 0.62f, 0.22f, kGlowTexture));
    int portLight = model.addMaterial(glowMaterial("port light", 1.0f, 0.12f, 0.08f));
    int starboardLight = model.addMaterial(glowMaterial("starboard light", 0.15f, 1.0f, 0.25f));

    model.addGroup("fuselage", makeFuselage(), hull);

    Mesh bubble = makeSphere(20, 12);
    bubble.transform(
        Affine::scaling({2.7f, 2.6f, 8.5f}).then(Affine::translation({0, 3.9f, 12.0f})));
    model.addGroup("canopy", bubble, canopy);

    Mesh wings = makeWing();
    wings.append(placed(makeWing(), Affine::scaling({-1, 1, 1})));
    model.addGroup("wings", wings, wing);

    Mesh fins = makeFin(1.0f);
    fins.append(makeFin(-1.0f));
    model.addGroup("fins", fins, fin);

    Mesh nacelles = placed(makeNacelle(), Affine::translation({7.4f, -2.0f, 0}));
    nacelles.append(placed(makeNacelle(), Affine::translation({-7.4f, -2.0f, 0})));
    model.addGroup("engines", nacelles, engine);

    Mesh exhausts = placed(makeExhaust(), Affine::translation({7.4f, -2.0f, 0}));
    exhausts.append(placed(makeExhaust(), Affine::translation({-7.4f, -2.0f, 0})));
    model.addGroup("exhausts", exhausts, exhaust);

    Mesh guns = placed(makeGun(), Affine::translation({10.5f, -1.2f, 0}));
    guns.append(placed(makeGun(), Affine::translation({-10.5f, -1.2f, 0})));
    model.addGroup("guns", guns, engine);

    // The game maps model +x to the ship's right: green light on the right tip, red on the left.
    Mesh light = makeSphere(8, 6);
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
