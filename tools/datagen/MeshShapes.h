// Primitive shapes for the generated models. All are closed, wound counter-clockwise seen from
// outside, carry texture coordinates and get smooth (crease-aware) normals.
#pragma once

#include "tools/datagen/Mesh.h"

#include <vector>

// One point of a lathe profile: distance along the z axis and radius there.
struct ProfilePoint {
    float z;
    float r;
};

// Surface of revolution about the z axis. The profile runs along the outline from the rear
// (-z) end to the front end; a radius of 0 makes a single pole vertex. u runs around, v along
// the outline (scaled by vRepeat).
Mesh makeLathe(const std::vector<ProfilePoint>& profile, int segments, float vRepeat = 1.0f,
               float creaseDegrees = 50.0f);

// Tube through a series of closed rings of equal point count, optionally capped at both ends.
// A cap's apex lies `bulge` beyond its ring's centre along the path (0: flat cap). The rings'
// direction is fixed up automatically, so either winding may be given.
struct LoftOptions {
    bool capStart = true;
    bool capEnd = true;
    float startBulge = 0;
    float endBulge = 0;
    float uRepeat = 1;
    float vRepeat = 1;
    float creaseDegrees = 50;
};
Mesh makeLoft(std::vector<std::vector<Vec3>> rings, const LoftOptions& options);

// Sphere of radius 1 with poles on the z axis.
Mesh makeSphere(int segments, int rings);
// Capsule along z: `length` from tip to tip, hemispherical ends.
Mesh makeCapsule(float radius, float length, int segments, int capRings);
// Box from -half to +half with bevelled edges of width `bevel` (flat faces, sharp creases).
Mesh makeBevelBox(const Vec3& half, float bevel);
// Torus around the z axis.
Mesh makeTorus(float majorRadius, float minorRadius, int majorSegments, int minorSegments);

// Replaces every corner's (u, v) by a projection of its position: u along uAxis, v along vAxis,
// `scale` texture repeats per unit.
void projectUv(Mesh& mesh, const Vec3& uAxis, const Vec3& vAxis, float scale,
               const Vec3& origin = {});
// Gives each face the planar projection along its normal's dominant axis, so a texture covers
// a rounded shape without the pinching of a spherical mapping at the poles.
void projectUvBoxed(Mesh& mesh, float scale);
