// Loading a MilkShape 3D file into the model and creating its material textures.
#include "assets/Ms3dModel.h"

#include "assets/FileReader.h"

#include <utility>

bool Ms3dModel::load(const char* fileName) {
    groups.clear();
    groupVertexArrays.clear();
    materials.clear();
    triangles.clear();
    vertices.clear();

    const auto bytes = readFileBytes(fileName);
    if (!bytes) {
        return false;
    }
    auto contents = readMs3d(bytes->data(), bytes->size());
    if (!contents) {
        return false;
    }
    vertices = std::move(contents->vertices);
    triangles = std::move(contents->triangles);
    groups = std::move(contents->groups);
    materials = std::move(contents->materials);
    loadTextures();
    return true;
}
