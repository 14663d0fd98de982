// A model loaded from a MilkShape 3D file; loading ends by creating the material textures.
#pragma once

#include "assets/Model.h"

class Ms3dModel : public Model {
public:
    Ms3dModel() = default;
    // Reads the file into this (fresh) model. False, with the model left empty, when the file
    // cannot be read or is not a well-formed MS3D file of version 3 or 4. Needs a GL context.
    bool load(const char* fileName) override;
};
