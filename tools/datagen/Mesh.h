// A triangle mesh as the MilkShape 3D format stores it: shared vertex positions, and per
// triangle corner a normal and a texture coordinate, so hard edges and texture seams need no
// duplicated positions.
#pragma once

#include "tools/datagen/Vec3.h"

#include <functional>
#include <vector>

struct MeshCorner {
    int vertex = 0;
    Vec3 normal{0, 0, 1};
    float u = 0; // texture s
    float v = 0; // texture t as GL samples it: 0 is the bottom row of the image
};

struct MeshFace {
    MeshCorner corners[3];
};

// Row-major 3x3 linear part plus a translation.
struct Affine {
    float m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    Vec3 t;

    static Affine translation(const Vec3& offset);
    static Affine scaling(const Vec3& factors);
    // Rotation by `degrees` about a unit axis, counter-clockwise seen from the axis tip.
    static Affine rotation(const Vec3& axis, float degrees);
    Affine then(const Affine& next) const; // this first, then next
    Vec3 apply(const Vec3& p) const;
    Vec3 applyLinear(const Vec3& d) const;
    float determinant() const;
};

class Mesh {
public:
    std::vector<Vec3> positions;
    std::vector<MeshFace> faces;

    int addVertex(const Vec3& p);
    // Counter-clockwise seen from outside; (u, v) per corner.
    void addTriangle(int a, int b, int c, float ua, float va, float ub, float vb, float uc,
                     float vc);
    // Quad a-b-c-d counter-clockwise seen from outside, split along a-c.
    void addQuad(int a, int b, int c, int d, float ua, float va, float ub, float vb, float uc,
                 float vc, float ud, float vd);

    void append(const Mesh& other);
    // Moves every position; a mirroring transform also reverses the winding so that the outside
    // stays the outside. Normals must be recomputed (or were computed before and are carried
    // through the inverse transpose).
    void transform(const Affine& a);
    // Moves every vertex along f(position).
    void displace(const std::function<Vec3(const Vec3&)>& f);

    // Per-corner normals from the faces around each vertex, area weighted; faces whose normals
    // differ from the corner's face by more than `creaseDegrees` keep their edge sharp.
    void computeNormals(float creaseDegrees);
    // Merges vertices closer than `tolerance` (used where separately built pieces share seams).
    void weld(float tolerance);

    Vec3 boundsMin() const;
    Vec3 boundsMax() const;
    float maxRadius() const; // farthest vertex from the origin
};
