// Lathes, lofts and the primitives built from them.
#include "tools/datagen/MeshShapes.h"

#include <algorithm>
#include <cmath>

Mesh makeLathe(const std::vector<ProfilePoint>& profile, int segments, float vRepeat,
               float creaseDegrees) {
    Mesh mesh;
    std::vector<float> along(profile.size(), 0.0f);
    for (std::size_t i = 1; i < profile.size(); ++i) {
        float dz = profile[i].z - profile[i - 1].z, dr = profile[i].r - profile[i - 1].r;
        along[i] = along[i - 1] + std::sqrt(dz * dz + dr * dr);
    }
    const float total = along.back() > 0 ? along.back() : 1.0f;
    // Per profile point: first vertex index, and whether it is a pole.
    std::vector<int> first(profile.size());
    std::vector<bool> pole(profile.size());
    for (std::size_t i = 0; i < profile.size(); ++i) {
        pole[i] = profile[i].r <= 1e-6f;
        first[i] = static_cast<int>(mesh.positions.size());
        if (pole[i]) {
            mesh.addVertex({0, 0, profile[i].z});
            continue;
        }
        for (int j = 0; j < segments; ++j) {
            float a = 2 * kPi * static_cast<float>(j) / static_cast<float>(segments);
            mesh.addVertex({profile[i].r * std::cos(a), profile[i].r * std::sin(a), profile[i].z});
        }
    }
    for (std::size_t i = 0; i + 1 < profile.size(); ++i) {
        if (pole[i] && pole[i + 1]) {
            continue;
        }
        float v0 = along[i] / total * vRepeat, v1 = along[i + 1] / total * vRepeat;
        for (int j = 0; j < segments; ++j) {
            int jn = (j + 1) % segments;
            float u0 = static_cast<float>(j) / static_cast<float>(segments);
            float u1 = static_cast<float>(j + 1) / static_cast<float>(segments);
            float um = 0.5f * (u0 + u1);
            int a = pole[i] ? first[i] : first[i] + j;
            int b = pole[i] ? first[i] : first[i] + jn;
            int c = pole[i + 1] ? first[i + 1] : first[i + 1] + jn;
            int d = pole[i + 1] ? first[i + 1] : first[i + 1] + j;
            if (pole[i]) {
                mesh.addTriangle(a, c, d, um, v0, u1, v1, u0, v1);
            } else if (pole[i + 1]) {
                mesh.addTriangle(a, b, c, u0, v0, u1, v0, um, v1);
            } else {
                mesh.addQuad(a, b, c, d, u0, v0, u1, v0, u1, v1, u0, v1);
            }
        }
    }
    mesh.computeNormals(creaseDegrees);
    return mesh;
}

namespace {

Vec3 centroid(const std::vector<Vec3>& ring) {
    Vec3 c;
    for (const Vec3& p : ring) {
        c += p;
    }
    return c / static_cast<float>(ring.size());
}

// Newell's normal of a closed polygon: its direction follows the counter-clockwise winding.
Vec3 newellNormal(const std::vector<Vec3>& ring) {
    Vec3 n;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const Vec3& a = ring[i];
        const Vec3& b = ring[(i + 1) % ring.size()];
        n += Vec3((a.y - b.y) * (a.z + b.z), (a.z - b.z) * (a.x + b.x), (a.x - b.x) * (a.y + b.y));
    }
    return n;
}

void addCap(Mesh& mesh, const std::vector<Vec3>& ring, int firstIndex, const Vec3& apex,
            bool facingAlongPath) {
    Vec3 c = centroid(ring);
    Vec3 n = normalize(newellNormal(ring));
    Vec3 e1 = normalize(ring[0] - c);
    Vec3 e2 = cross(n, e1);
    float extent = 1e-6f;
    for (const Vec3& p : ring) {
        extent = std::max(extent, length(p - c));
    }
    auto uv = [&](const Vec3& p, float& u, float& v) {
        u = 0.5f + 0.5f * dot(p - c, e1) / extent;
        v = 0.5f + 0.5f * dot(p - c, e2) / extent;
    };
    int centre = mesh.addVertex(apex);
    const int count = static_cast<int>(ring.size());
    for (int j = 0; j < count; ++j) {
        int jn = (j + 1) % count;
        float ua, va, ub, vb;
        uv(ring[static_cast<std::size_t>(j)], ua, va);
        uv(ring[static_cast<std::size_t>(jn)], ub, vb);
        if (facingAlongPath) {
            mesh.addTriangle(centre, firstIndex + j, firstIndex + jn, 0.5f, 0.5f, ua, va, ub, vb);
        } else {
            mesh.addTriangle(centre, firstIndex + jn, firstIndex + j, 0.5f, 0.5f, ub, vb, ua, va);
        }
    }
}

} // namespace

Mesh makeLoft(std::vector<std::vector<Vec3>> rings, const LoftOptions& options) {
    Mesh mesh;
    if (rings.size() < 2) {
        return mesh;
    }
    Vec3 path = centroid(rings.back()) - centroid(rings.front());
    if (dot(newellNormal(rings.front()), path) < 0) {
        for (auto& ring : rings) {
            std::reverse(ring.begin(), ring.end());
        }
    }
    const int count = static_cast<int>(rings.front().size());
    std::vector<float> along(rings.size(), 0.0f);
    for (std::size_t i = 1; i < rings.size(); ++i) {
        along[i] = along[i - 1] + length(centroid(rings[i]) - centroid(rings[i - 1]));
    }
    const float total = along.back() > 0 ? along.back() : 1.0f;
    for (const auto& ring : rings) {
        for (const Vec3& p : ring) {
            mesh.addVertex(p);
        }
    }
    for (std::size_t i = 0; i + 1 < rings.size(); ++i) {
        float v0 = along[i] / total * options.vRepeat;
        float v1 = along[i + 1] / total * options.vRepeat;
        int base0 = static_cast<int>(i) * count, base1 = static_cast<int>(i + 1) * count;
        for (int j = 0; j < count; ++j) {
            int jn = (j + 1) % count;
            float u0 = static_cast<float>(j) / static_cast<float>(count) * options.uRepeat;
            float u1 = static_cast<float>(j + 1) / static_cast<float>(count) * options.uRepeat;
            mesh.addQuad(base0 + j, base0 + jn, base1 + jn, base1 + j, u0, v0, u1, v0, u1, v1, u0,
                         v1);
        }
    }
    Vec3 dir = normalize(path);
    if (options.capStart) {
        addCap(mesh, rings.front(), 0, centroid(rings.front()) - dir * options.startBulge, false);
    }
    if (options.capEnd) {
        addCap(mesh, rings.back(), static_cast<int>(rings.size() - 1) * count,
               centroid(rings.back()) + dir * options.endBulge, true);
    }
    mesh.computeNormals(options.creaseDegrees);
    return mesh;
}

Mesh makeSphere(int segments, int rings) {
    std::vector<ProfilePoint> profile;
    for (int i = 0; i <= rings; ++i) {
        float a = kPi * static_cast<float>(i) / static_cast<float>(rings);
        profile.push_back({-std::cos(a), i == 0 || i == rings ? 0.0f : std::sin(a)});
    }
    return makeLathe(profile, segments, 1.0f, 90.0f);
}

Mesh makeCapsule(float radius, float length, int segments, int capRings) {
    std::vector<ProfilePoint> profile;
    const float half = 0.5f * length - radius;
    for (int i = 0; i <= capRings; ++i) {
        float a = 0.5f * kPi * static_cast<float>(i) / static_cast<float>(capRings);
        profile.push_back({-half - radius * std::cos(a), i == 0 ? 0.0f : radius * std::sin(a)});
    }
    for (int i = capRings; i >= 0; --i) {
        float a = 0.5f * kPi * static_cast<float>(i) / static_cast<float>(capRings);
        profile.push_back({half + radius * std::cos(a), i == 0 ? 0.0f : radius * std::sin(a)});
    }
    return makeLathe(profile, segments, 1.0f, 90.0f);
}

Mesh makeBevelBox(const Vec3& half, float bevel) {
    auto ring = [&](float inset, float z) {
        float hx = half.x - inset, hy = half.y - inset;
        float b = bevel;
        // Chamfered rectangle, counter-clockwise seen from +z.
        return std::vector<Vec3>{{hx, -hy + b, z},  {hx, hy - b, z},  {hx - b, hy, z},
                                 {-hx + b, hy, z},  {-hx, hy - b, z}, {-hx, -hy + b, z},
                                 {-hx + b, -hy, z}, {hx - b, -hy, z}};
    };
    LoftOptions options;
    options.creaseDegrees = 30;
    Mesh mesh = makeLoft({ring(bevel, -half.z), ring(0, -half.z + bevel), ring(0, half.z - bevel),
                          ring(bevel, half.z)},
                         options);
    return mesh;
}

Mesh makeTorus(float majorRadius, float minorRadius, int majorSegments, int minorSegments) {
    Mesh mesh;
    for (int i = 0; i < majorSegments; ++i) {
        float a = 2 * kPi * static_cast<float>(i) / static_cast<float>(majorSegments);
        for (int j = 0; j < minorSegments; ++j) {
            float b = 2 * kPi * static_cast<float>(j) / static_cast<float>(minorSegments);
            float r = majorRadius + minorRadius * std::cos(b);
            mesh.addVertex({r * std::cos(a), r * std::sin(a), minorRadius * std::sin(b)});
        }
    }
    for (int i = 0; i < majorSegments; ++i) {
        int in = (i + 1) % majorSegments;
        float u0 = static_cast<float>(i) / static_cast<float>(majorSegments);
        float u1 = static_cast<float>(i + 1) / static_cast<float>(majorSegments);
        for (int j = 0; j < minorSegments; ++j) {
            int jn = (j + 1) % minorSegments;
            float v0 = static_cast<float>(j) / static_cast<float>(minorSegments);
            float v1 = static_cast<float>(j + 1) / static_cast<float>(minorSegments);
            int a = i * minorSegments + j, b = in * minorSegments + j;
            int c = in * minorSegments + jn, d = i * minorSegments + jn;
            mesh.addQuad(a, b, c, d, u0, v0, u1, v0, u1, v1, u0, v1);
        }
    }
    mesh.computeNormals(90.0f);
    return mesh;
}

void projectUv(Mesh& mesh, const Vec3& uAxis, const Vec3& vAxis, float scale, const Vec3& origin) {
    for (MeshFace& f : mesh.faces) {
        for (MeshCorner& c : f.corners) {
            const Vec3& p = mesh.positions[static_cast<std::size_t>(c.vertex)];
            c.u = dot(p - origin, uAxis) * scale;
            c.v = dot(p - origin, vAxis) * scale;
        }
    }
}

void projectUvBoxed(Mesh& mesh, float scale) {
    for (MeshFace& f : mesh.faces) {
        const Vec3& a = mesh.positions[static_cast<std::size_t>(f.corners[0].vertex)];
        const Vec3& b = mesh.positions[static_cast<std::size_t>(f.corners[1].vertex)];
        const Vec3& c = mesh.positions[static_cast<std::size_t>(f.corners[2].vertex)];
        Vec3 n = cross(b - a, c - a);
        float ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
        for (MeshCorner& corner : f.corners) {
            const Vec3& p = mesh.positions[static_cast<std::size_t>(corner.vertex)];
            if (ax >= ay && ax >= az) {
                corner.u = p.z * scale;
                corner.v = p.y * scale;
            } else if (ay >= az) {
                corner.u = p.x * scale;
                corner.v = p.z * scale;
            } else {
                corner.u = p.x * scale;
                corner.v = p.y * scale;
            }
        }
    }
}
