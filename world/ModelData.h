// Model records of the container's model cache: one per element kind, shared by every element
// of that kind, holding the loaded model, its newest display list and its vertex arrays.
#pragma once

#include "assets/Ms3dModel.h"

#include <memory>
#include <optional>
#include <string>

// Model data types; only MilkShape 3D models exist, the others are reserved.
const int kModelTypeMs3d = 0;
const int kModelTypeReserved1 = 1;
const int kModelTypeReserved2 = 2;

// The far model of a kind whose model file is "NAME.ms3d" is "NAME.far.ms3d", when there is one.
const char* const kFarModelSuffix = ".far.ms3d";

class ModelData {
public:
    virtual ~ModelData(); // deletes the kind's display lists
    virtual void reloadTextures() {}
    // Deletes the kind's display lists, the far model's with it; the next element compiles anew.
    void forgetLists();

    unsigned iDisplayList = 0; // newest list compiled for the kind; 0 until one is
    int iModelType = kModelTypeMs3d;
    // Model units from the model's origin to its farthest corner; negative when unknown.
    float fExtent = -1.0f;
    // The normal of the model's last corner, which drawing it leaves current.
    bool bHasFinalNormal = false;
    float fFinalNormal[3] = {0.0f, 0.0f, 1.0f};
    // The material of the last group that has one, and the last texture such a group binds
    // (0: none), which drawing the model leaves set.
    const Material* pFinalMaterial = nullptr;
    unsigned iFinalTexture = 0;
    // What drawing the model once costs: one draw per group, and their triangles.
    int iGroups = 0;
    int iTriangles = 0;
    // The kind's coarser model for the far distance, drawn where it strays from this one by at
    // most a pixel on the screen (Object3D chooses); null when the kind has none.
    std::unique_ptr<ModelData> pFar;
    // The farthest the two models' surfaces lie from each other, in model units.
    float fFarStray = 0.0f;
};

class Ms3dModelData : public ModelData {
public:
    explicit Ms3dModelData(const char* fileName);
    // Loads the model and builds its per-group vertex arrays (also after a failed load, so the
    // record always draws, if only nothing), then the far model beside the file, if any. A far
    // model is kept only if drawing it leaves what drawing the model leaves for the elements
    // drawn after it: the same last material and texture file, and the same last normal.
    bool load();
    void reloadTextures() override;

    std::unique_ptr<Ms3dModel> pMs3dModel;
    std::string szFileName;
    bool bUseVertexArrays = false;

private:
    struct Quiet {};
    Ms3dModelData(const std::string& fileName, Quiet); // a far model's record: nothing logged
    void buildGroupVertexArrays();
    void noteFinalState();
    void loadFarModel();
    // The stray the data generator recorded for these two files, if it did and they are still
    // the files it measured.
    static std::optional<float> recordedStray(const std::string& modelFile,
                                              const std::string& farModelFile);
    bool leavesTheSameAs(const Ms3dModelData& other) const;
};
