// Coarser copies of closed meshes for the far models: edge collapses chosen by the quadric error
// of Garland and Heckbert, so that the fewer corners sit where they keep the shape best.
#pragma once

#include "tools/datagen/Mesh.h"

class MeshSimplifier {
public:
    // The mesh collapsed to at most `faces` triangles (fewer only when no collapse is left that
    // keeps every face the right way round). Only positions and windings are kept: the caller
    // gives the result its normals and texture coordinates.
    static Mesh simplify(const Mesh& mesh, int faces);
    // A part of a far model: the part collapsed to a 1/share of its triangles (but at least
    // `least`), its texture projected along its main axes at `repeatsPerUnit`, its normals smooth
    // within `creaseDegrees`. From afar the texture is a pixel or two; the shape is what shows.
    static Mesh farPart(const Mesh& part, int share, float creaseDegrees, float repeatsPerUnit,
                        int least = 8);
};
