// Model records of the container's model cache: one per element kind, shared by every element
// of that kind, holding the loaded model, its newest display list and its vertex arrays.
#pragma once

#include "assets/Ms3dModel.h"

#include <memory>
#include <string>

// Model data types; only MilkShape 3D models exist, the others are reserved.
const int kModelTypeMs3d = 0;
const int kModelTypeReserved1 = 1;
const int kModelTypeReserved2 = 2;

class ModelData {
public:
    virtual ~ModelData(); // deletes the kind's display list
    virtual void reloadTextures() {}

    unsigned iDisplayList = 0; // newest list compiled for the kind; 0 until one is
    int iModelType = kModelTypeMs3d;
    // Model units from the model's origin to its farthest corner; negative when unknown.
    float fExtent = -1.0f;
    // The normal of the model's last corner, which drawing it leaves current.
    bool bHasFinalNormal = false;
    float fFinalNormal[3] = {0.0f, 0.0f, 1.0f};
    // What drawing the model once costs: one draw per group, and their triangles.
    int iGroups = 0;
    int iTriangles = 0;
};

class Ms3dModelData : public ModelData {
public:
    explicit Ms3dModelData(const char* fileName);
    // Loads the model and builds its per-group vertex arrays (also after a failed load, so the
    // record always draws, if only nothing).
    bool load();
    void reloadTextures() override;

    std::unique_ptr<Ms3dModel> pMs3dModel;
    std::string szFileName;
    bool bUseVertexArrays = false;

private:
    void buildGroupVertexArrays();
};
