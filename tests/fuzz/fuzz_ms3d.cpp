// libFuzzer target for the MilkShape 3D reader: whatever it accepts must be safe to draw.
#include "assets/Ms3dReader.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto contents = readMs3d(data, size);
    if (!contents) {
        return 0;
    }
    const int vertexCount = static_cast<int>(contents->vertices.size());
    const int triangleCount = static_cast<int>(contents->triangles.size());
    const int materialCount = static_cast<int>(contents->materials.size());
    for (const Triangle& triangle : contents->triangles) {
        for (int index : triangle.vertexIndices) {
            if (index < 0 || index >= vertexCount) {
                std::abort();
            }
        }
    }
    for (const Group& group : contents->groups) {
        // Any negative index means "no material"; a non-negative one must name a material.
        if (group.materialIndex >= materialCount) {
            std::abort();
        }
        for (int index : group.triangleIndices) {
            if (index < 0 || index >= triangleCount) {
                std::abort();
            }
        }
    }
    for (const Material& material : contents->materials) {
        if (material.textureFile.size() > 128 ||
            material.textureFile.find('\0') != std::string::npos) {
            std::abort();
        }
    }
    return 0;
}
