// The in-memory model shared by all elements of a kind: groups, materials, triangles and
// vertices, plus the per-group interleaved arrays that the vertex-array drawing path uses.
#pragma once

#include "assets/Ms3dReader.h"

#include <vector>

// One group's triangles as GL_T2F_N3F_V3F corners: s, t, nx, ny, nz, x, y, z (24 per triangle).
struct GroupVertexArray {
    int iMaterialIndex = -1;
    std::vector<float> floats;
    int getFloatCount() const { return static_cast<int>(floats.size()); }
};

class Model {
public:
    // Its textures go with it: a world built again (play again) loads its models anew.
    virtual ~Model();
    virtual bool load(const char* fileName) = 0;

    // (Re)creates every material's texture with the container's current texture filter. A
    // replaced texture lives on only while the kind's display list still binds it.
    void loadTextures();
    // Called once the kind's display list is compiled anew: it binds today's textures, so those
    // only the list before it bound are deleted.
    void listCompiled();

    // The farthest a point of either model lies outside the other, in model units: how far the
    // outline of one may stray from the other's where it is drawn in its place. The models are
    // taken as solids (their closed parts, overlapping as they may): a part hidden inside the
    // other model does not count, whatever its distance from the other's surface. Never less
    // than the true figure: the surfaces are sampled, and the sampling's spacing is added.
    // Infinite when either model draws nothing.
    static float strayBetween(const Model& a, const Model& b);
    // The same figure for two files' contents, before any GL: the data generator's.
    static float strayBetween(const Ms3dContents& a, const Ms3dContents& b);

    int getGroupCount() const { return static_cast<int>(groups.size()); }
    int getMaterialCount() const { return static_cast<int>(materials.size()); }
    int getTriangleCount() const { return static_cast<int>(triangles.size()); }
    int getVertexCount() const { return static_cast<int>(vertices.size()); }

    std::vector<Group> groups;
    std::vector<GroupVertexArray> groupVertexArrays;
    std::vector<Material> materials;
    std::vector<Triangle> triangles;
    std::vector<Vertex> vertices;

private:
    // Texture names the kind's newest display list binds.
    std::vector<unsigned> listTextures;
};
