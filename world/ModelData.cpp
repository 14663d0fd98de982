// Loading a model record and laying out its groups as interleaved vertex arrays.
#include "world/ModelData.h"

#include "assets/FarStrayRecord.h"
#include "assets/FileReader.h"
#include "platform/Files.h"
#include "platform/Platform.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

namespace {
const int kFloatsPerCorner = 8; // s, t, nx, ny, nz, x, y, z
const int kFloatsPerTriangle = 3 * kFloatsPerCorner;
} // namespace

ModelData::~ModelData() {
    if (iDisplayList != 0) {
        glDeleteLists(iDisplayList, 1);
    }
}

void ModelData::forgetLists() {
    if (iDisplayList != 0) {
        glDeleteLists(iDisplayList, 1);
        iDisplayList = 0;
    }
    if (pFar) {
        pFar->forgetLists();
    }
}

Ms3dModelData::Ms3dModelData(const char* fileName)
    : pMs3dModel(std::make_unique<Ms3dModel>()), szFileName(fileName ? fileName : "") {
    platform::debugOutput("vertex array created");
}

Ms3dModelData::Ms3dModelData(const std::string& fileName, Quiet)
    : pMs3dModel(std::make_unique<Ms3dModel>()), szFileName(fileName) {}

bool Ms3dModelData::load() {
    if (szFileName.empty()) {
        return false;
    }
    const bool loaded = pMs3dModel->load(szFileName.c_str());
    buildGroupVertexArrays();
    noteFinalState();
    if (loaded) {
        loadFarModel();
    }
    return loaded;
}

void Ms3dModelData::reloadTextures() {
    pMs3dModel->loadTextures();
    if (pFar) {
        pFar->reloadTextures();
    }
    noteFinalState();
}

void Ms3dModelData::noteFinalState() {
    const Model& model = *pMs3dModel;
    pFinalMaterial = nullptr;
    iFinalTexture = 0;
    for (const Group& group : model.groups) {
        if (group.materialIndex >= 0 && group.materialIndex < model.getMaterialCount()) {
            pFinalMaterial = &model.materials[group.materialIndex];
            iFinalTexture = pFinalMaterial->texture > 0 ? pFinalMaterial->texture : iFinalTexture;
        }
    }
}

std::optional<float> Ms3dModelData::recordedStray(const std::string& modelFile,
                                                  const std::string& farModelFile) {
    // A player's own models have no record: only with one are the models read a second time.
    std::string text;
    std::string why;
    if (!platform::readFile(FarStrayRecord::pathFor(farModelFile), FarStrayRecord::kLimit, text,
                            why)) {
        return std::nullopt;
    }
    const auto model = readFileBytes(modelFile.c_str());
    const auto farModel = readFileBytes(farModelFile.c_str());
    if (!model || !farModel) {
        return std::nullopt;
    }
    return FarStrayRecord::read(text, FarStrayRecord::fingerprint(*model, *farModel));
}

void Ms3dModelData::loadFarModel() {
    const std::string suffix = ".ms3d";
    const std::size_t stem =
        szFileName.size() >= suffix.size() &&
                szFileName.compare(szFileName.size() - suffix.size(), suffix.size(), suffix) == 0
            ? szFileName.size() - suffix.size()
            : szFileName.size();
    std::unique_ptr<Ms3dModelData> far(
        new Ms3dModelData(szFileName.substr(0, stem) + kFarModelSuffix, Quiet()));
    if (!far->pMs3dModel->load(far->szFileName.c_str())) {
        return; // most kinds have none
    }
    far->buildGroupVertexArrays();
    far->noteFinalState();
    if (!far->leavesTheSameAs(*this)) {
        platform::debugPrintf("Ms3dModelData::load(): %s left aside: it would leave another "
                              "material or normal behind than %s\n",
                              far->szFileName.c_str(), szFileName.c_str());
        return;
    }
    // Measuring takes a good share of a second for a large model: the data generator's record
    // for these very two files saves it.
    const std::optional<float> recorded = recordedStray(szFileName, far->szFileName);
    fFarStray = recorded ? *recorded : Model::strayBetween(*pMs3dModel, *far->pMs3dModel);
    // Culling goes by the sphere that holds whichever of the two is drawn.
    fExtent = std::max(fExtent, far->fExtent);
    pFar = std::move(far);
}

namespace {

// The file of the last texture drawing the model binds ("" when it binds none).
std::string lastTextureFile(const Model& model) {
    std::string last;
    for (const Group& group : model.groups) {
        if (group.materialIndex >= 0 && group.materialIndex < model.getMaterialCount()) {
            const Material& material =
                model.materials[static_cast<std::size_t>(group.materialIndex)];
            last = material.textureFile.empty() ? last : material.textureFile;
        }
    }
    return last;
}

bool sameMaterial(const Material* a, const Material* b) {
    if (a == nullptr || b == nullptr) {
        return a == b;
    }
    return std::equal(a->ambient, a->ambient + 4, b->ambient) &&
           std::equal(a->diffuse, a->diffuse + 4, b->diffuse) &&
           std::equal(a->specular, a->specular + 4, b->specular) &&
           std::equal(a->emissive, a->emissive + 4, b->emissive) && a->shininess == b->shininess &&
           a->textureFile == b->textureFile;
}

} // namespace

bool Ms3dModelData::leavesTheSameAs(const Ms3dModelData& other) const {
    return sameMaterial(pFinalMaterial, other.pFinalMaterial) &&
           lastTextureFile(*pMs3dModel) == lastTextureFile(*other.pMs3dModel) &&
           bHasFinalNormal == other.bHasFinalNormal &&
           std::equal(fFinalNormal, fFinalNormal + 3, other.fFinalNormal);
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
