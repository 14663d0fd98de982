// Object3D: model lookup through the container's cache, display lists, and the three ways of
// drawing a MilkShape model (display list, interleaved vertex arrays, immediate mode).
#include "world/Object3D.h"

#include "assets/ObjectTexture.h"
#include "game/Shield.h"
#include "platform/Platform.h"
#include "world/CulledModelState.h"
#include "world/ElementContainer.h"
#include "world/ModelData.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {

// How far the far model takes over, in world units of distance per world unit by which it
// strays from the model: where that stray shows as at most kFarModelPixels on the game's screen,
// 768 pixels high with a 45-degree view at 4:3. Anywhere in that view, a point moved by s at
// distance d moves on the screen by at most f s (1 + tan^2 h + tan^2 v) / d pixels, with the focal
// length f = 384 / tan 22.5 degrees in pixels and h, v the half angles across and up the view.
const double kFarModelPixels = 1.0;
const double kHalfScreenPixels = 384.0;
const double kTanHalfView = 0.41421356237; // tan 22.5 degrees
const double kAspect = 4.0 / 3.0;
const double kFarReachPerStray = kHalfScreenPixels / kTanHalfView *
                                 (1.0 + kTanHalfView * kTanHalfView * (1.0 + kAspect * kAspect)) /
                                 kFarModelPixels;

} // namespace

Object3D::Object3D(ElementContainer* container)
    : Element3D(container), pModelFile(&container->modelFileName("")) {}

Object3D::~Object3D() {
    // A shield outliving its owner must not keep pointing at it.
    if (auto* shield = dynamic_cast<Shield*>(pShield)) {
        if (shield->getOwner() == this) {
            shield->setOwner(nullptr);
        }
    }
}

void Object3D::setModelFile(const char* fileName) {
    pModelFile = &pContainer->modelFileName(fileName != nullptr ? fileName : "");
}

ModelData* Object3D::loadModel(const char* fileName, int kind) {
    auto& cache = pContainer->modelCache;
    auto found = cache.find(kind);
    if (found != cache.end() && found->second) {
        return found->second.get(); // one record per kind, whatever file the caller names
    }
    auto record = std::make_unique<Ms3dModelData>(fileName);
    record->load(); // a failed load still leaves an empty record that draws nothing
    ModelData* result = record.get();
    cache[kind] = std::move(record);
    return result;
}

Object3D* Object3D::createShield(float radius) {
    Object3D* shield = pContainer->addElement(kKindShield);
    shield->setRadius(radius);
    static_cast<Shield*>(shield)->setOwner(this);
    shield->setPos(fPos[0], fPos[1], fPos[2]);
    return shield;
}

unsigned Object3D::createDisplayList() {
    if (pModel != nullptr && pModel->iDisplayList != 0 && pContainer->uses(kShortcutLists)) {
        return pModel->iDisplayList;
    }
    return compileDisplayList();
}

unsigned Object3D::compileDisplayList() {
    ++pContainer->listCompiles;
    if (pModel == nullptr) {
        const unsigned list = glGenLists(1);
        glNewList(list, GL_COMPILE);
        drawModel();
        glEndList();
        return list;
    }
    compileInto(*pModel, false);
    if (pModel->pFar) {
        compileInto(*pModel->pFar, true);
    }
    return pModel->iDisplayList;
}

void Object3D::compileInto(ModelData& record, bool far) {
    const unsigned list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    if (far) {
        drawMs3dModel(&record);
    } else {
        drawModel();
    }
    glEndList();
    // Every element of the kind draws the record's newest list, so the one it replaces is never
    // called again: deleting it keeps a list per shot fired from piling up.
    const unsigned replaced = record.iDisplayList;
    record.iDisplayList = list;
    if (replaced != 0) {
        glDeleteLists(replaced, 1);
    }
    // The new list binds the model's current textures; those only the old one bound go.
    auto* ms3d = dynamic_cast<Ms3dModelData*>(&record);
    if (ms3d != nullptr && ms3d->pMs3dModel) {
        ms3d->pMs3dModel->listCompiled();
    }
}

void Object3D::facePlayer() {
    const Element3D* player = pContainer->getPlayer();
    if (player != nullptr) {
        const float kFullTurn = 360.0f; // degrees: any angle at all in one update
        turnTowards(kFullTurn, player->getPos(0), player->getPos(1), player->getPos(2));
    }
}

void Object3D::transform() {
    glTranslatef(fPos[0], fPos[1], fPos[2]);
    glScalef(fScale[0], fScale[1], fScale[2]);
    glMultMatrixf(fMatrix);
}

void Object3D::drawModelType2(ModelData*) {
    platform::debugOutput("not implemented yet");
}

void Object3D::drawModelType1(ModelData*) {
    platform::debugOutput("not implemented yet");
}

void Object3D::drawMs3dModel(ModelData* model) {
    auto* record = static_cast<Ms3dModelData*>(model);
    if (record == nullptr || !record->pMs3dModel) {
        return;
    }
    const Model& ms3d = *record->pMs3dModel;
    const GLboolean texturing = glIsEnabled(GL_TEXTURE_2D);
    const bool vertexArrays = pContainer->bVertexArrays;
    record->bUseVertexArrays = vertexArrays;

    for (int g = 0; g < ms3d.getGroupCount(); ++g) {
        const Group& group = ms3d.groups[g];
        if (group.materialIndex >= 0 && group.materialIndex < ms3d.getMaterialCount()) {
            const Material& material = ms3d.materials[group.materialIndex];
            glMaterialfv(GL_FRONT, GL_AMBIENT, material.ambient);
            glMaterialfv(GL_FRONT, GL_DIFFUSE, material.diffuse);
            glMaterialfv(GL_FRONT, GL_SPECULAR, material.specular);
            glMaterialfv(GL_FRONT, GL_EMISSION, material.emissive);
            glMaterialf(GL_FRONT, GL_SHININESS, material.shininess);
            if (material.texture > 0) {
                glBindTexture(GL_TEXTURE_2D, material.texture);
                glEnable(GL_TEXTURE_2D);
            } else {
                glDisable(GL_TEXTURE_2D);
            }
        } else {
            // No material: untextured, with whatever material the previous group left.
            glDisable(GL_TEXTURE_2D);
        }

        if (vertexArrays && g < static_cast<int>(ms3d.groupVertexArrays.size())) {
            const GroupVertexArray& array = ms3d.groupVertexArrays[g];
            glInterleavedArrays(GL_T2F_N3F_V3F, 0, array.floats.data());
            glDrawArrays(GL_TRIANGLES, 0, array.getFloatCount() / 8);
            // Leave no client arrays switched on for the immediate-mode code that follows.
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
            glDisableClientState(GL_NORMAL_ARRAY);
            glDisableClientState(GL_VERTEX_ARRAY);
        } else {
            glBegin(GL_TRIANGLES);
            for (int triangleIndex : group.triangleIndices) {
                const Triangle& triangle = ms3d.triangles[triangleIndex];
                for (int corner = 0; corner < 3; ++corner) {
                    glNormal3fv(triangle.normals[corner]);
                    glTexCoord2f(triangle.s[corner], triangle.t[corner]);
                    glVertex3fv(ms3d.vertices[triangle.vertexIndices[corner]].position);
                }
            }
            glEnd();
        }
    }
    if (texturing) {
        glEnable(GL_TEXTURE_2D);
    } else {
        glDisable(GL_TEXTURE_2D);
    }
}

void Object3D::draw() {
    if (!bVisible) {
        return;
    }
    glPushMatrix();
    transform();
    ModelData* shown = modelAtDistance();
    if (shown != nullptr) {
        pContainer->modelDraws += static_cast<unsigned long>(shown->iGroups);
        pContainer->modelTriangles += static_cast<unsigned long>(shown->iTriangles);
    }
    if (shown != nullptr && shown->iDisplayList != 0 && pContainer->bDisplayLists) {
        glCallList(shown->iDisplayList);
    } else if (shown != pModel) {
        drawMs3dModel(shown);
    } else {
        drawModel();
    }
    glPopMatrix();
}

ModelData* Object3D::modelAtDistance() const {
    if (pModel == nullptr || !pModel->pFar || pContainer->getPlayer() == nullptr) {
        return pModel;
    }
    const float scale =
        std::max({std::fabs(fScale[0]), std::fabs(fScale[1]), std::fabs(fScale[2])});
    // Counted from the nearest the model can come to the eye.
    const double reach =
        static_cast<double>(scale) * (pModel->fExtent + kFarReachPerStray * pModel->fFarStray);
    return getDistanceToPlayerSquared() >= reach * reach ? pModel->pFar.get() : pModel;
}

float Object3D::getDrawRadius() const {
    if (pModel == nullptr || pModel->fExtent < 0.0f) {
        return -1.0f;
    }
    const float scale =
        std::max({std::fabs(fScale[0]), std::fabs(fScale[1]), std::fabs(fScale[2])});
    return pModel->fExtent * scale;
}

bool Object3D::isInView() const {
    return !pContainer->uses(kShortcutCulling) || pContainer->mayShow(fPos, getDrawRadius());
}

void Object3D::leaveState(CulledModelState& state) {
    if (!bVisible || pModel == nullptr || pModel->iModelType != kModelTypeMs3d) {
        return;
    }
    // Effects drawn later send no normals: they are lit with the one the model left. Arrays
    // drawn outside a list leave the current normal as it was.
    const bool arrays =
        !(pModel->iDisplayList != 0 && pContainer->bDisplayLists) && pContainer->bVertexArrays;
    state.leave(*pModel, !arrays);
}

void Object3D::drawModel() {
    if (pModel == nullptr) {
        return;
    }
    switch (pModel->iModelType) {
    case kModelTypeMs3d:
        drawMs3dModel(pModel);
        break;
    case kModelTypeReserved1:
        drawModelType1(pModel);
        break;
    case kModelTypeReserved2:
        drawModelType2(pModel);
        break;
    default:
        platform::debugOutput("could identify model data type");
        break;
    }
}
