// Loading a model record and laying out its groups as interleaved vertex arrays.
#include "world/ModelData.h"

#include "platform/Platform.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {
const int kFloatsPerCorner = 8; // s, t, nx, ny, nz, x, y, z
const int kFloatsPerTriangle = 3 * kFloatsPerCorner;
} // namespace

ModelData::~ModelData() {
    if (iDisplayList != 0) {
        glDeleteLists(iDisplayList, 1);
    }
}

Ms3dModelData::Ms3dModelData(const char* fileName)
    : pMs3dModel(std::make_unique<Ms3dModel>()), szFileName(fileName ? fileName : "") {
    platform::debugOutput("vertex array created");
}

bool Ms3dModelData::load() {
    if (szFileName.empty()) {
        return false;
    }
    const bool loaded = pMs3dModel->load(szFileName.c_str());
    buildGroupVertexArrays();
    return loaded;
}

void Ms3dModelData::reloadTextures() {
    pMs3dModel->loadTextures();
}

void Ms3dModelData::buildGroupVertexArrays() {
    Model& model = *pMs3dModel;
    model.groupVertexArrays.clear();
    iGroups = 0;
    iTriangles = 0;
    model.groupVertexArrays.reserve(model.groups.size());
    for (const Group& group : model.groups) {
        GroupVertexArray array;
        array.iMaterialIndex = group.materialIndex;
        array.floats.reserve(group.triangleIndices.size() * kFloatsPerTriangle);
        for (int triangleIndex : group.triangleIndices) {
            const Triangle& triangle = model.triangles[triangleIndex];
            for (int corner = 0; corner < 3; ++corner) {
                const Vertex& vertex = model.vertices[triangle.vertexIndices[corner]];
                array.floats.insert(array.floats.end(),
                                    {triangle.s[corner], triangle.t[corner],
                                     triangle.normals[corner][0], triangle.normals[corner][1],
                                     triangle.normals[corner][2], vertex.position[0],
                                     vertex.position[1], vertex.position[2]});
            }
        }
        model.groupVertexArrays.push_back(std::move(array));
        ++iGroups;
        iTriangles += static_cast<int>(group.triangleIndices.size());
        if (!group.triangleIndices.empty()) {
            const Triangle& last = model.triangles[group.triangleIndices.back()];
            bHasFinalNormal = true;
            for (int i = 0; i < 3; ++i) {
                fFinalNormal[i] = last.normals[2][i];
            }
        }
    }
    float farthest = 0.0f;
    for (const Vertex& vertex : model.vertices) {
        const float* p = vertex.position;
        farthest = std::max(farthest, std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]));
    }
    fExtent = farthest;
}
