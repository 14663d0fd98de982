// Noting and setting the state skipped models leave: each part is whatever the last model that
// sets it would have left.
#include "world/CulledModelState.h"

#include "world/ModelData.h"

#include <GL/gl.h>

void CulledModelState::leave(const ModelData& model, bool sendsNormal) {
    if (model.pFinalMaterial != nullptr) {
        pMaterial = model.pFinalMaterial;
    }
    if (model.iFinalTexture != 0) {
        iTexture = model.iFinalTexture;
    }
    if (sendsNormal && model.bHasFinalNormal) {
        pNormal = model.fFinalNormal;
    }
}

void CulledModelState::leave(const Material& material, const float colour[4],
                             const float normal[3]) {
    pMaterial = &material;
    pColour = colour;
    if (normal != nullptr) {
        pNormal = normal;
    }
}

void CulledModelState::apply() {
    if (pMaterial != nullptr) {
        glMaterialfv(GL_FRONT, GL_AMBIENT, pMaterial->ambient);
        glMaterialfv(GL_FRONT, GL_DIFFUSE, pMaterial->diffuse);
        glMaterialfv(GL_FRONT, GL_SPECULAR, pMaterial->specular);
        glMaterialfv(GL_FRONT, GL_EMISSION, pMaterial->emissive);
        glMaterialf(GL_FRONT, GL_SHININESS, pMaterial->shininess);
    }
    if (iTexture != 0) {
        glBindTexture(GL_TEXTURE_2D, iTexture);
    }
    if (pNormal != nullptr) {
        glNormal3fv(pNormal);
    }
    if (pColour != nullptr) {
        glColor4fv(pColour);
    }
    *this = CulledModelState();
}
