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

// Pieces of triangles are taken whole once their radius is this small, as a share of the
// models' size: the figure may exceed the truth by up to that much.
const float kLeafShare = 1.0f / 100.0f;

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

// The triangles the groups draw, of a loaded model or of a file's plain contents.
template <typename Geometry> std::vector<SurfaceTriangle> drawnSurface(const Geometry& model) {
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

// Measures how far the points of triangles lie outside a solid, piece by piece: a piece that
// cannot beat the worst found so far is left alone, one that lies wholly inside or wholly
// outside (its bounding ball does not reach the solid's surface) needs no finer look unless it
// might beat the worst, and the rest is quartered down to pieces of the leaf size.
class StrayMeasure {
public:
    StrayMeasure(const std::vector<SurfaceTriangle>& solid, float leafSize, float known)
        : solid(solid), leafSize(leafSize), worst(known), seen(solid.size(), 0) {
        buildGrid();
    }

    // Measures the triangles, starting from the farthest any of their corners and centres lies
    // outside (a true figure for some point) and going from the triangles whose points lie
    // farthest from the surface to the nearest, so that the worst is found early and most
    // pieces can be left alone.
    void measureAll(const std::vector<SurfaceTriangle>& triangles) {
        std::vector<std::pair<float, std::size_t>> order;
        std::vector<std::pair<float, Corner3>> points;
        for (std::size_t i = 0; i < triangles.size(); ++i) {
            const SurfaceTriangle& t = triangles[i];
            float farthest = 0.0f;
            for (const Corner3& p : {t.a, t.b, t.c, t.centre}) {
                const float distance = distanceToSurface(p);
                points.push_back({distance, p});
                farthest = std::max(farthest, distance);
            }
            order.push_back({farthest, i});
        }
        std::sort(points.begin(), points.end(),
                  [](const auto& x, const auto& y) { return x.first > y.first; });
        for (const auto& point : points) {
            if (point.first <= worst) {
                break;
            }
            if (!inside(point.second, solid)) {
                worst = point.first;
                break;
            }
        }
        std::sort(order.begin(), order.end(),
                  [](const auto& x, const auto& y) { return x.first > y.first; });
        for (const auto& entry : order) {
            const SurfaceTriangle& t = triangles[entry.second];
            measure(t.a, t.b, t.c);
        }
    }

    float result() const { return worst; }

private:
    void measure(const Corner3& a, const Corner3& b, const Corner3& c) {
        const Corner3 centre{(a.x + b.x + c.x) / 3.0f, (a.y + b.y + c.y) / 3.0f,
                             (a.z + b.z + c.z) / 3.0f};
        float radius = 0.0f;
        for (const Corner3& p : {a, b, c}) {
            const Corner3 d = p - centre;
            radius = std::max(radius, std::sqrt(dot(d, d)));
        }
        // Every point of the piece lies within `radius` of its centre, and the distance to the
        // surface changes no faster than the point moves.
        const float distance = distanceToSurface(centre);
        if (distance + radius <= worst) {
            return;
        }
        // A piece whose ball misses the surface lies wholly on one side of it: inside, nothing
        // of it strays. A leaf is taken whole: a point of it outside the solid lies within the
        // radius of the surface if its centre is inside, else within the centre's distance and
        // the radius.
        const bool oneSide = radius < distance;
        const bool leaf = radius <= leafSize;
        if (oneSide || leaf) {
            const bool in = inside(centre, solid);
            if (oneSide && in) {
                return;
            }
            if (leaf) {
                worst = std::max(worst, in ? radius : distance + radius);
                return;
            }
        }
        const Corner3 ab{(a.x + b.x) * 0.5f, (a.y + b.y) * 0.5f, (a.z + b.z) * 0.5f};
        const Corner3 bc{(b.x + c.x) * 0.5f, (b.y + c.y) * 0.5f, (b.z + c.z) * 0.5f};
        const Corner3 ca{(c.x + a.x) * 0.5f, (c.y + a.y) * 0.5f, (c.z + a.z) * 0.5f};
        measure(a, ab, ca);
        measure(ab, b, bc);
        measure(ca, bc, c);
        measure(ab, bc, ca);
    }

    // The solid's triangles filed by the cells of a grid over their box, each in every cell its
    // own box reaches, so that a distance is looked for near the point first.
    void buildGrid() {
        lowest = highest = solid.front().a;
        for (const SurfaceTriangle& t : solid) {
            for (const Corner3& p : {t.a, t.b, t.c}) {
                lowest = {std::min(lowest.x, p.x), std::min(lowest.y, p.y),
                          std::min(lowest.z, p.z)};
                highest = {std::max(highest.x, p.x), std::max(highest.y, p.y),
                           std::max(highest.z, p.z)};
            }
        }
        const Corner3 span = highest - lowest;
        cell = std::max({span.x, span.y, span.z, std::numeric_limits<float>::min()}) /
               static_cast<float>(kGridCells);
        cells.assign(static_cast<std::size_t>(kGridCells * kGridCells * kGridCells), {});
        for (std::size_t k = 0; k < solid.size(); ++k) {
            const SurfaceTriangle& t = solid[k];
            int from[3], to[3];
            for (int axis = 0; axis < 3; ++axis) {
                const float values[3] = {component(t.a, axis), component(t.b, axis),
                                         component(t.c, axis)};
                from[axis] = cellOf(*std::min_element(values, values + 3), axis);
                to[axis] = cellOf(*std::max_element(values, values + 3), axis);
            }
            for (int x = from[0]; x <= to[0]; ++x) {
                for (int y = from[1]; y <= to[1]; ++y) {
                    for (int z = from[2]; z <= to[2]; ++z) {
                        cells[index(x, y, z)].push_back(k);
                    }
                }
            }
        }
    }

    static float component(const Corner3& p, int axis) {
        return axis == 0 ? p.x : (axis == 1 ? p.y : p.z);
    }
    int cellOf(float value, int axis) const {
        const int c = static_cast<int>(std::floor((value - component(lowest, axis)) / cell));
        return std::clamp(c, 0, kGridCells - 1);
    }
    static std::size_t index(int x, int y, int z) {
        return static_cast<std::size_t>((x * kGridCells + y) * kGridCells + z);
    }

    // The distance from p to the nearest triangle: the cells in rings around p's own, until no
    // cell left can hold anything nearer (every point of a ring k cells out lies at least k - 1
    // cells from p's place in the grid, or from its nearest point when p lies outside).
    float distanceToSurface(const Corner3& p) {
        ++stamp;
        float nearest = distanceSquared(p, solid[hint]);
        seen[hint] = stamp;
        const int centre[3] = {cellOf(p.x, 0), cellOf(p.y, 1), cellOf(p.z, 2)};
        for (int ring = 0; ring < kGridCells; ++ring) {
            const float least = static_cast<float>(std::max(ring - 1, 0)) * cell;
            if (ring > 0 && least * least >= nearest) {
                break;
            }
            for (int x = centre[0] - ring; x <= centre[0] + ring; ++x) {
                for (int y = centre[1] - ring; y <= centre[1] + ring; ++y) {
                    for (int z = centre[2] - ring; z <= centre[2] + ring; ++z) {
                        const bool onRing =
                            std::max({std::abs(x - centre[0]), std::abs(y - centre[1]),
                                      std::abs(z - centre[2])}) == ring;
                        if (!onRing || x < 0 || y < 0 || z < 0 || x >= kGridCells ||
                            y >= kGridCells || z >= kGridCells) {
                            continue;
                        }
                        for (std::size_t k : cells[index(x, y, z)]) {
                            if (seen[k] == stamp) {
                                continue;
                            }
                            seen[k] = stamp;
                            const float squared = distanceSquared(p, solid[k]);
                            if (squared < nearest) {
                                nearest = squared;
                                hint = k; // the next piece is likely nearest the same triangle
                            }
                        }
                    }
                }
            }
        }
        return std::sqrt(nearest);
    }

    static const int kGridCells = 16; // along each axis

    const std::vector<SurfaceTriangle>& solid;
    float leafSize;
    float worst;
    std::size_t hint = 0;
    Corner3 lowest, highest;
    float cell = 1.0f;
    std::vector<std::vector<std::size_t>> cells;
    std::vector<unsigned> seen; // the stamp of the query that last measured each triangle
    unsigned stamp = 0;
};

// The farthest any point of `from` lies outside `to`, at least, or `known` if that is more.
float farthestStray(const std::vector<SurfaceTriangle>& from,
                    const std::vector<SurfaceTriangle>& to, float leafSize, float known) {
    StrayMeasure measure(to, leafSize, known);
    measure.measureAll(from);
    return measure.result();
}

float strayBetweenSurfaces(const std::vector<SurfaceTriangle>& first,
                           const std::vector<SurfaceTriangle>& second) {
    if (first.empty() || second.empty()) {
        return std::numeric_limits<float>::infinity();
    }
    float size = 0.0f;
    for (const auto* surface : {&first, &second}) {
        for (const SurfaceTriangle& t : *surface) {
            size = std::max(size, std::sqrt(dot(t.centre, t.centre)) + t.radius);
        }
    }
    const float leafSize = std::max(size * kLeafShare, std::numeric_limits<float>::min());
    // The way with the fewer triangles to measure against goes first; what it finds lets most
    // pieces of the other way be left alone.
    const bool firstIsSmaller = first.size() <= second.size();
    const std::vector<SurfaceTriangle>& small = firstIsSmaller ? first : second;
    const std::vector<SurfaceTriangle>& large = firstIsSmaller ? second : first;
    const float known = farthestStray(large, small, leafSize, 0.0f);
    return farthestStray(small, large, leafSize, known);
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
    return strayBetweenSurfaces(drawnSurface(a), drawnSurface(b));
}

float Model::strayBetween(const Ms3dContents& a, const Ms3dContents& b) {
    return strayBetweenSurfaces(drawnSurface(a), drawnSurface(b));
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
