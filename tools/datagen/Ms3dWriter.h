// Builds MilkShape 3D binary files (versions 3 and 4) from meshes: one group per mesh part, each
// with its material, per-corner normals and texture coordinates.
#pragma once

#include "tools/datagen/Mesh.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct Ms3dMaterialSpec {
    std::string name;
    std::array<float, 4> ambient{0.2f, 0.2f, 0.2f, 1};
    std::array<float, 4> diffuse{0.8f, 0.8f, 0.8f, 1};
    std::array<float, 4> specular{0, 0, 0, 1};
    std::array<float, 4> emissive{0, 0, 0, 1};
    float shininess = 0;
    std::string texture; // relative to the run directory; empty for an untextured material
};

// How much of a model to build: the whole of it for near sight, or a coarser one that the game
// draws instead from afar (the kind's second file, "NAME.far.ms3d").
enum class Detail { Near, Far };

class Ms3dWriter {
public:
    // Index of the new material.
    int addMaterial(const Ms3dMaterialSpec& material);
    // A group drawn with the material (-1: none); its mesh keeps its own normals and (u, v).
    void addGroup(const std::string& name, const Mesh& mesh, int materialIndex);

    // The file bytes, or nothing when the counts exceed what the format can hold.
    std::optional<std::vector<std::uint8_t>> encode(int version = 4) const;
    // Encodes and writes the file; false (with a line on stderr) on failure.
    bool save(const std::string& path, int version = 4) const;

    // Ends this model's last group with the near model's last triangle, so that drawing either
    // leaves the same normal behind for what the game draws next (it leaves the same material
    // too, which needs the same material on both last groups: false, with nothing changed, when
    // they differ).
    bool finishLike(const Ms3dWriter& near);

    int groupCount() const { return static_cast<int>(groups.size()); }
    int triangleCount() const;
    // All groups' positions together (for size checks while building).
    Mesh combined() const;

private:
    struct GroupEntry {
        std::string name;
        Mesh mesh;
        int material;
    };
    std::vector<Ms3dMaterialSpec> materials;
    std::vector<GroupEntry> groups;
};
