// Material textures of a loaded model, (re)created with the container's current filter; a
// replaced texture is deleted once no display list binds it any more.
#include "assets/Model.h"

#include "assets/ObjectTexture.h"
#include "world/ElementContainer.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Samples lie at most this far apart, as a share of the models' size, so that the margin added
// for the gaps between them stays small.
const float kSampleSpacingShare = 1.0f / 96.0f;
// A point of a triangle lies at most its longest edge / (n sqrt 3) from the nearest sample of an
// n x n barycentric grid over it (the circumradius of a grid cell, whose angles are the
// triangle's own).
const float kCellCoverage = 0.57735027f; // 1 / sqrt(3)

struct Corner3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

Corner3 operator-(const Corner3& a, const Corner3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
float dot(const Corner3& a, const Corner3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Corner3 cross(const Corner3& a, const Corner3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

struct SurfaceTriangle {
    Corner3 a, b, c;
    Corner3 centre; // of a sphere around it, for a quick lower bound
    float radius = 0.0f;
};

std::vector<SurfaceTriangle> drawnSurface(const Model& model) {
    std::vector<SurfaceTriangle> surface;
    auto corner = [&](int vertex) {
        const float* p = model.vertices[static_cast<std::size_t>(vertex)].position;
        return Corner3{p[0], p[1], p[2]};
    };
    for (const Group& group : model.groups) {
        for (int index : group.triangleIndices) {
            const Triangle& triangle = model.triangles[static_cast<std::size_t>(index)];
            SurfaceTriangle t;
            t.a = corner(triangle.vertexIndices[0]);
            t.b = corner(triangle.vertexIndices[1]);
            t.c = corner(triangle.vertexIndices[2]);
            t.centre = {(t.a.x + t.b.x + t.c.x) / 3.0f, (t.a.y + t.b.y + t.c.y) / 3.0f,
                        (t.a.z + t.b.z + t.c.z) / 3.0f};
            for (const Corner3& p : {t.a, t.b, t.c}) {
                const Corner3 d = p - t.centre;
                t.radius = std::max(t.radius, std::sqrt(dot(d, d)));
            }
            surface.push_back(t);
        }
    }
    return surface;
}

// Squared distance from p to the nearest point of the triangle (the closest-point regions of
// Ericson's Real-Time Collision Detection, 5.1.5).
float distanceSquared(const Corner3& p, const SurfaceTriangle& t) {
    const Corner3 ab = t.b - t.a, ac = t.c - t.a, ap = p - t.a;
    const float d1 = dot(ab, ap), d2 = dot(ac, ap);
    auto squared = [&](const Corner3& q) {
        const Corner3 d = p - q;
        return dot(d, d);
    };
    if (d1 <= 0.0f && d2 <= 0.0f) {
        return squared(t.a);
    }
    const Corner3 bp = p - t.b;
    const float d3 = dot(ab, bp), d4 = dot(ac, bp);
    if (d3 >= 0.0f && d4 <= d3) {
        return squared(t.b);
    }
    const float vc = d1 * d4 - d3 * d2;
    if (vc <= 0.0f && d1 >= 0.0f && d3 <= 0.0f) {
        const float v = d1 / (d1 - d3);
        return squared({t.a.x + v * ab.x, t.a.y + v * ab.y, t.a.z + v * ab.z});
    }
    const Corner3 cp = p - t.c;
    const float d5 = dot(ab, cp), d6 = dot(ac, cp);
    if (d6 >= 0.0f && d5 <= d6) {
        return squared(t.c);
    }
    const float vb = d5 * d2 - d1 * d6;
    if (vb <= 0.0f && d2 >= 0.0f && d6 <= 0.0f) {
        const float w = d2 / (d2 - d6);
        return squared({t.a.x + w * ac.x, t.a.y + w * ac.y, t.a.z + w * ac.z});
    }
    const float va = d3 * d6 - d5 * d4;
    if (va <= 0.0f && (d4 - d3) >= 0.0f && (d5 - d6) >= 0.0f) {
        const Corner3 bc = t.c - t.b;
        const float w = (d4 - d3) / ((d4 - d3) + (d5 - d6));
        return squared({t.b.x + w * bc.x, t.b.y + w * bc.y, t.b.z + w * bc.z});
    }
    const float denominator = 1.0f / (va + vb + vc);
    const float v = vb * denominator, w = vc * denominator;
    return squared(
        {t.a.x + ab.x * v + ac.x * w, t.a.y + ab.y * v + ac.y * w, t.a.z + ab.z * v + ac.z * w});
}

// Whether p lies inside the solid the triangles close: the solid angles they subtend from p
// (Van Oosterom and Strackee) add up to a whole sphere inside and to nothing outside. Parts that
// overlap count once, and a small gap in the surface only blurs the answer near the gap.
bool inside(const Corner3& p, const std::vector<SurfaceTriangle>& solid) {
    double total = 0.0;
    for (const SurfaceTriangle& t : solid) {
        const Corner3 a = t.a - p, b = t.b - p, c = t.c - p;
        const double la = std::sqrt(dot(a, a)), lb = std::sqrt(dot(b, b)),
                     lc = std::sqrt(dot(c, c));
        const double numerator = dot(a, cross(b, c));
        const double denominator = la * lb * lc + dot(a, b) * lc + dot(a, c) * lb + dot(b, c) * la;
        total += 2.0 * std::atan2(numerator, denominator);
    }
    const double kHalfTurns = 2.0 * 3.14159265358979323846; // half of the 4 pi of a whole sphere
    return std::fabs(total) > kHalfTurns;
}

// The farthest any point of `from` lies outside `to`, at least: samples over each triangle of
// `from`, each bound raised by the gap its grid leaves. A sample inside `to` lies within the gap
// of its outside.
float farthestStray(const std::vector<SurfaceTriangle>& from,
                    const std::vector<SurfaceTriangle>& to, float spacing) {
    float worst = 0.0f;
    std::size_t hint = 0; // the triangle nearest the last sample: likely nearest the next
    for (const SurfaceTriangle& t : from) {
        const Corner3 edges[3] = {t.b - t.a, t.c - t.b, t.a - t.c};
        float longest = 0.0f;
        for (const Corner3& e : edges) {
            longest = std::max(longest, std::sqrt(dot(e, e)));
        }
        const int n = std::max(1, static_cast<int>(std::ceil(longest / spacing)));
        const float gap = longest / static_cast<float>(n) * kCellCoverage;
        worst = std::max(worst, gap); // a sample inside may have its outside a gap away
        for (int i = 0; i <= n; ++i) {
            for (int j = 0; i + j <= n; ++j) {
                const float u = static_cast<float>(i) / static_cast<float>(n);
                const float v = static_cast<float>(j) / static_cast<float>(n);
                const float w = 1.0f - u - v;
                const Corner3 p{w * t.a.x + u * t.b.x + v * t.c.x,
                                w * t.a.y + u * t.b.y + v * t.c.y,
                                w * t.a.z + u * t.b.z + v * t.c.z};
                // Only a sample farther than the worst so far from every triangle matters:
                // stop at the first triangle nearer than that.
                const float enough = (worst - gap) * std::fabs(worst - gap);
                float nearest = distanceSquared(p, to[hint]);
                for (std::size_t k = 0; k < to.size() && nearest > enough; ++k) {
                    const Corner3 d = p - to[k].centre;
                    const float bound = std::sqrt(dot(d, d)) - to[k].radius;
                    if (bound > 0.0f && bound * bound >= nearest) {
                        continue;
                    }
                    const float squared = distanceSquared(p, to[k]);
                    if (squared < nearest) {
                        nearest = squared;
                        hint = k;
                    }
                }
                const float stray = std::sqrt(nearest) + gap;
                if (stray > worst && !inside(p, to)) {
                    worst = stray;
                }
            }
        }
    }
    return worst;
}

bool contains(const std::vector<unsigned>& names, unsigned name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

void deleteTexture(unsigned name) {
    const GLuint texture = name;
    glDeleteTextures(1, &texture);
}

} // namespace

Model::~Model() {
    for (const Material& material : materials) {
        if (material.texture != 0 && !contains(listTextures, material.texture)) {
            deleteTexture(material.texture);
        }
    }
    for (unsigned name : listTextures) {
        deleteTexture(name);
    }
}

void Model::loadTextures() {
    // Textures the kind's display list captured stay alive: every element of the kind draws it
    // until a new element compiles the next one. Any other replaced texture would never be
    // bound again, and each filter change would pile up a full set.
    const int filterMode = ElementContainer::getInstance()->iTextureFilter;
    for (Material& material : materials) {
        const unsigned replaced = material.texture;
        material.texture =
            material.textureFile.empty()
                ? 0
                : ObjectTexture::LoadTexture(material.textureFile.c_str(), filterMode);
        if (replaced != 0 && !contains(listTextures, replaced)) {
            deleteTexture(replaced);
        }
    }
}

float Model::strayBetween(const Model& a, const Model& b) {
    const std::vector<SurfaceTriangle> first = drawnSurface(a);
    const std::vector<SurfaceTriangle> second = drawnSurface(b);
    if (first.empty() || second.empty()) {
        return std::numeric_limits<float>::infinity();
    }
    float size = 0.0f;
    for (const auto* surface : {&first, &second}) {
        for (const SurfaceTriangle& t : *surface) {
            size = std::max(size, std::sqrt(dot(t.centre, t.centre)) + t.radius);
        }
    }
    const float spacing = std::max(size * kSampleSpacingShare, std::numeric_limits<float>::min());
    return std::max(farthestStray(first, second, spacing), farthestStray(second, first, spacing));
}

void Model::listCompiled() {
    std::vector<unsigned> bound;
    for (const Material& material : materials) {
        if (material.texture != 0) {
            bound.push_back(material.texture);
        }
    }
    for (unsigned name : listTextures) {
        if (!contains(bound, name)) {
            deleteTexture(name);
        }
    }
    listTextures = std::move(bound);
}
