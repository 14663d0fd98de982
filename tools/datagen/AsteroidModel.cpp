// Builds the asteroid from a sphere displaced by fractal noise and dented by craters; faces
// are sorted into rock, ore and ice groups by where they lie.
#include "tools/datagen/AsteroidModel.h"

#include "tools/datagen/MeshShapes.h"
#include "tools/datagen/MeshSimplifier.h"
#include "tools/datagen/ModelMaterials.h"
#include "tools/datagen/ModelTextures.h"
#include "tools/datagen/Noise.h"
#include "tools/datagen/Random.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const float kMeanRadius = 3.5f; // model units
// Sphere divisions of the model (about 220 triangles), and the far model's triangles.
const int kSegments = 14;
const int kRings = 9;
const int kFarFaces = 70;

struct Crater {
    Vec3 centre; // unit direction
    float angle; // angular radius, radians
    float depth; // relative to the radius
};

struct RockShape {
    Noise noise{51};
    std::vector<Crater> craters;

    RockShape() {
        Random random(52);
        // Few and wide: a crater narrower than the far model's facets would make it stray.
        for (int i = 0; i < 5; ++i) {
            Vec3 d{random.range(-1, 1), random.range(-1, 1), random.range(-1, 1)};
            craters.push_back({normalize(d), random.range(0.5f, 0.8f), random.range(0.06f, 0.1f)});
        }
    }

    // Crater depth at a direction, and how far into the nearest crater floor it lies (0..1).
    float craterOffset(const Vec3& dir, float& floor) const {
        float offset = 0;
        floor = 0;
        for (const Crater& c : craters) {
            float a = std::acos(std::clamp(dot(dir, c.centre), -1.0f, 1.0f)) / c.angle;
            if (a < 1.0f) {
                offset -= c.depth * (1.0f - a * a);
                floor = std::max(floor, 1.0f - a);
            }
            offset += 0.3f * c.depth * std::exp(-(a - 1.0f) * (a - 1.0f) / 0.08f); // rim
        }
        return offset;
    }

    float radiusAt(const Vec3& dir) const {
        float floor = 0;
        float lumps = noise.fbm3(dir.x * 1.2f + 5, dir.y * 1.2f, dir.z * 1.2f, 2, 0.5f);
        float bulge = noise.noise3(dir.x * 0.6f, dir.y * 0.6f + 3, dir.z * 0.6f);
        return kMeanRadius * (1.0f + 0.3f * lumps + 0.2f * bulge + craterOffset(dir, floor));
    }
};

} // namespace

Ms3dWriter buildAsteroidModel(Detail detail) {
    RockShape shape;
    const bool near = detail == Detail::Near;
    Mesh rock = makeSphere(kSegments, kRings);
    // Stretched into a potato, then pushed out by the noise along each vertex's direction.
    rock.displace([&](const Vec3& p) {
        Vec3 dir = normalize(p);
        Vec3 stretched = mul(dir, {1.12f, 0.88f, 1.0f});
        return stretched * shape.radiusAt(dir);
    });
    if (!near) {
        // The same rock with fewer corners, each where it keeps the shape best.
        rock = MeshSimplifier::simplify(rock, kFarFaces);
    }
    projectUvBoxed(rock, 1.0f / 3.0f); // the rock texture tiles: one repeat per 3 units
    rock.computeNormals(65.0f);

    Ms3dWriter model;
    const Ms3dMaterialSpec stone =
        litMaterial("rock", 0.85f, 0.80f, 0.74f, 0.08f, kRockTexture, kScaledModelAmbient);
    if (!near) {
        // From afar the veins and the frost are a pixel or two: bare rock.
        model.addGroup("rock", rock, model.addMaterial(stone));
        return model;
    }
    // Sort the faces by their centre's direction: crater floors frost over, veins of ore cross
    // the rest. Bare rock goes last, as it does in the far model: both leave its material.
    Mesh groups[3];
    for (Mesh& g : groups) {
        g.positions = rock.positions;
    }
    for (const MeshFace& f : rock.faces) {
        Vec3 centre;
        for (const MeshCorner& c : f.corners) {
            centre += rock.positions[static_cast<std::size_t>(c.vertex)];
        }
        Vec3 dir = normalize(centre);
        float floor = 0;
        shape.craterOffset(dir, floor);
        float vein = std::fabs(shape.noise.noise3(dir.x * 1.7f, dir.y * 1.7f + 9, dir.z * 1.7f));
        int which = floor > 0.55f ? 1 : (vein < 0.05f ? 0 : 2);
        groups[which].faces.push_back(f);
    }
    int ore = model.addMaterial(
        litMaterial("ore", 0.70f, 0.50f, 0.36f, 0.6f, kRockTexture, kScaledModelAmbient));
    int ice = model.addMaterial(
        litMaterial("ice", 0.72f, 0.80f, 0.92f, 0.7f, kRockTexture, kScaledModelAmbient));
    int bare = model.addMaterial(stone);
    const char* names[3] = {"ore", "ice", "rock"};
    const int materials[3] = {ore, ice, bare};
    for (int i = 0; i < 3; ++i) {
        // Keep only the positions this group uses, so every group stands on its own.
        Mesh compact;
        std::vector<int> remap(groups[i].positions.size(), -1);
        for (MeshFace f : groups[i].faces) {
            for (MeshCorner& c : f.corners) {
                int& r = remap[static_cast<std::size_t>(c.vertex)];
                if (r < 0) {
                    r = compact.addVertex(groups[i].positions[static_cast<std::size_t>(c.vertex)]);
                }
                c.vertex = r;
            }
            compact.faces.push_back(f);
        }
        if (!compact.faces.empty()) {
            model.addGroup(names[i], compact, materials[i]);
        }
    }
    return model;
}
