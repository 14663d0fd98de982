// Reads the static geometry of a MilkShape 3D file (versions 3 and 4) from bytes into plain
// records: vertices, triangles, groups and materials. No GL; safe on any input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct Vertex {
    float position[3] = {0, 0, 0};
};

struct Triangle {
    float normals[3][3] = {}; // one normal per corner
    float s[3] = {0, 0, 0};   // texture s per corner
    float t[3] = {0, 0, 0};   // texture t per corner, already 1 - t of the file
    int vertexIndices[3] = {0, 0, 0};
};

struct Group {
    int materialIndex = -1; // -1: no material
    std::vector<int> triangleIndices;
};

struct Material {
    float ambient[4] = {0, 0, 0, 1};
    float diffuse[4] = {0, 0, 0, 1};
    float specular[4] = {0, 0, 0, 1};
    float emissive[4] = {0, 0, 0, 1};
    float shininess = 0;
    unsigned texture = 0;    // GL texture name once loaded; 0 draws untextured
    std::string textureFile; // as stored in the file, relative to the working directory
};

struct Ms3dContents {
    std::vector<Vertex> vertices;
    std::vector<Triangle> triangles;
    std::vector<Group> groups;
    std::vector<Material> materials;
};

// Parses a whole file image. Empty result for a wrong identifier or version, a short file, or
// counts and indices that do not fit the data (never reads out of bounds).
std::optional<Ms3dContents> readMs3d(const std::uint8_t* data, std::size_t size);
