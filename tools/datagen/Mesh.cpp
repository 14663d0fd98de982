// Mesh storage with per-corner normals, transforms and crease-aware normal smoothing.
#include "tools/datagen/Mesh.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

Affine Affine::translation(const Vec3& offset) {
    Affine a;
    a.t = offset;
    return a;
}

Affine Affine::scaling(const Vec3& f) {
    Affine a;
    a.m[0][0] = f.x;
    a.m[1][1] = f.y;
    a.m[2][2] = f.z;
    return a;
}

Affine Affine::rotation(const Vec3& axisIn, float degrees) {
    Vec3 k = normalize(axisIn);
    float r = degrees * kPi / 180.0f;
    float c = std::cos(r), s = std::sin(r), C = 1 - c;
    Affine a;
    a.m[0][0] = c + k.x * k.x * C;
    a.m[0][1] = k.x * k.y * C - k.z * s;
    a.m[0][2] = k.x * k.z * C + k.y * s;
    a.m[1][0] = k.y * k.x * C + k.z * s;
    a.m[1][1] = c + k.y * k.y * C;
    a.m[1][2] = k.y * k.z * C - k.x * s;
    a.m[2][0] = k.z * k.x * C - k.y * s;
    a.m[2][1] = k.z * k.y * C + k.x * s;
    a.m[2][2] = c + k.z * k.z * C;
    return a;
}

Affine Affine::then(const Affine& next) const {
    Affine r;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            r.m[i][j] = 0;
            for (int k = 0; k < 3; ++k) {
                r.m[i][j] += next.m[i][k] * m[k][j];
            }
        }
    }
    r.t = next.apply(t);
    return r;
}

Vec3 Affine::applyLinear(const Vec3& d) const {
    return {m[0][0] * d.x + m[0][1] * d.y + m[0][2] * d.z,
            m[1][0] * d.x + m[1][1] * d.y + m[1][2] * d.z,
            m[2][0] * d.x + m[2][1] * d.y + m[2][2] * d.z};
}

Vec3 Affine::apply(const Vec3& p) const {
    return applyLinear(p) + t;
}

float Affine::determinant() const {
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
           m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

int Mesh::addVertex(const Vec3& p) {
    positions.push_back(p);
    return static_cast<int>(positions.size()) - 1;
}

void Mesh::addTriangle(int a, int b, int c, float ua, float va, float ub, float vb, float uc,
                       float vc) {
    MeshFace f;
    f.corners[0] = {a, {0, 0, 1}, ua, va};
    f.corners[1] = {b, {0, 0, 1}, ub, vb};
    f.corners[2] = {c, {0, 0, 1}, uc, vc};
    faces.push_back(f);
}

void Mesh::addQuad(int a, int b, int c, int d, float ua, float va, float ub, float vb, float uc,
                   float vc, float ud, float vd) {
    addTriangle(a, b, c, ua, va, ub, vb, uc, vc);
    addTriangle(a, c, d, ua, va, uc, vc, ud, vd);
}

void Mesh::append(const Mesh& other) {
    int offset = static_cast<int>(positions.size());
    positions.insert(positions.end(), other.positions.begin(), other.positions.end());
    for (MeshFace f : other.faces) {
        for (MeshCorner& c : f.corners) {
            c.vertex += offset;
        }
        faces.push_back(f);
    }
}

void Mesh::transform(const Affine& a) {
    for (Vec3& p : positions) {
        p = a.apply(p);
    }
    // Normals go through the inverse transpose, which up to a scale factor is the cofactor
    // matrix; renormalising removes the factor.
    const float(*m)[3] = a.m;
    float cof[3][3] = {
        {m[1][1] * m[2][2] - m[1][2] * m[2][1], m[1][2] * m[2][0] - m[1][0] * m[2][2],
         m[1][0] * m[2][1] - m[1][1] * m[2][0]},
        {m[0][2] * m[2][1] - m[0][1] * m[2][2], m[0][0] * m[2][2] - m[0][2] * m[2][0],
         m[0][1] * m[2][0] - m[0][0] * m[2][1]},
        {m[0][1] * m[1][2] - m[0][2] * m[1][1], m[0][2] * m[1][0] - m[0][0] * m[1][2],
         m[0][0] * m[1][1] - m[0][1] * m[1][0]}};
    float det = a.determinant();
    float sign = det < 0 ? -1.0f : 1.0f;
    for (MeshFace& f : faces) {
        for (MeshCorner& c : f.corners) {
            const Vec3& n = c.normal;
            Vec3 r{cof[0][0] * n.x + cof[0][1] * n.y + cof[0][2] * n.z,
                   cof[1][0] * n.x + cof[1][1] * n.y + cof[1][2] * n.z,
                   cof[2][0] * n.x + cof[2][1] * n.y + cof[2][2] * n.z};
            c.normal = normalize(r * sign);
        }
        if (det < 0) {
            std::swap(f.corners[1], f.corners[2]);
        }
    }
}

void Mesh::displace(const std::function<Vec3(const Vec3&)>& f) {
    for (Vec3& p : positions) {
        p = f(p);
    }
}

void Mesh::computeNormals(float creaseDegrees) {
    std::vector<Vec3> faceNormals(faces.size());
    std::vector<std::vector<int>> facesOfVertex(positions.size());
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const MeshFace& f = faces[i];
        const Vec3& a = positions[static_cast<std::size_t>(f.corners[0].vertex)];
        const Vec3& b = positions[static_cast<std::size_t>(f.corners[1].vertex)];
        const Vec3& c = positions[static_cast<std::size_t>(f.corners[2].vertex)];
        faceNormals[i] = cross(b - a, c - a); // length = twice the area: area weighting
        for (const MeshCorner& corner : f.corners) {
            facesOfVertex[static_cast<std::size_t>(corner.vertex)].push_back(static_cast<int>(i));
        }
    }
    float cosCrease = std::cos(creaseDegrees * kPi / 180.0f);
    for (std::size_t i = 0; i < faces.size(); ++i) {
        Vec3 own = normalize(faceNormals[i]);
        for (MeshCorner& corner : faces[i].corners) {
            Vec3 sum;
            for (int g : facesOfVertex[static_cast<std::size_t>(corner.vertex)]) {
                const Vec3& other = faceNormals[static_cast<std::size_t>(g)];
                if (static_cast<std::size_t>(g) == i || dot(own, normalize(other)) >= cosCrease) {
                    sum += other;
                }
            }
            corner.normal = length(sum) > 1e-12f ? normalize(sum) : own;
        }
    }
}

void Mesh::weld(float tolerance) {
    std::map<std::tuple<long, long, long>, int> cells;
    std::vector<int> remap(positions.size());
    std::vector<Vec3> kept;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const Vec3& p = positions[i];
        auto key = std::make_tuple(std::lround(p.x / tolerance), std::lround(p.y / tolerance),
                                   std::lround(p.z / tolerance));
        auto it = cells.find(key);
        if (it == cells.end()) {
            cells.emplace(key, static_cast<int>(kept.size()));
            remap[i] = static_cast<int>(kept.size());
            kept.push_back(p);
        } else {
            remap[i] = it->second;
        }
    }
    positions = kept;
    std::vector<MeshFace> keptFaces;
    for (MeshFace f : faces) {
        for (MeshCorner& c : f.corners) {
            c.vertex = remap[static_cast<std::size_t>(c.vertex)];
        }
        if (f.corners[0].vertex != f.corners[1].vertex &&
            f.corners[1].vertex != f.corners[2].vertex &&
            f.corners[0].vertex != f.corners[2].vertex) {
            keptFaces.push_back(f);
        }
    }
    faces = keptFaces;
}

Vec3 Mesh::boundsMin() const {
    Vec3 r{1e30f, 1e30f, 1e30f};
    for (const Vec3& p : positions) {
        r = {std::min(r.x, p.x), std::min(r.y, p.y), std::min(r.z, p.z)};
    }
    return r;
}

Vec3 Mesh::boundsMax() const {
    Vec3 r{-1e30f, -1e30f, -1e30f};
    for (const Vec3& p : positions) {
        r = {std::max(r.x, p.x), std::max(r.y, p.y), std::max(r.z, p.z)};
    }
    return r;
}

float Mesh::maxRadius() const {
    float r = 0;
    for (const Vec3& p : positions) {
        r = std::max(r, length(p));
    }
    return r;
}
