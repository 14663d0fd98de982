// Smoke puffs: age, growth, billboarding toward the player, fading and removal.
#include "game/SmokeCloud.h"

#include "assets/ObjectTexture.h"
#include "game/SmokeTexture.h"
#include "platform/Platform.h"
#include "world/ElementContainer.h"
#include "world/ModelData.h"

#include <GL/gl.h>

SmokeCloud::SmokeCloud(ElementContainer* container) : Object3D(container) {
    init();
}

SmokeCloud::~SmokeCloud() {
    if (pOwnRecord && pOwnRecord->iDisplayList != 0) {
        glDeleteLists(pOwnRecord->iDisplayList, 1);
    }
}

void SmokeCloud::init() {
    dAge = 0.0;
    bSortByDistance = true; // translucent: after the solid objects, nearest first
    pModel = nullptr;
    bActive = false;
    pTexture = SmokeTexture::get(*pContainer);
    if (pTexture->getTextureId() != 0) {
        platform::debugOutput("SmokeCloud::init(): texture loaded/created successfully.\n");
    } else {
        platform::debugOutput("SmokeCloud::init(): could not create/load texture.\n");
    }
}

void SmokeCloud::update(double t) {
    dAge += t;
    const float scale = static_cast<float>(dAge / kGrowthTime);
    setScale(scale, scale, scale);
    facePlayer(); // the square always shows its face to the player
    if (dAge > kLifetime) {
        fHealth = 0.0f;
    }
}

unsigned SmokeCloud::createDisplayList() {
    if (pOwnRecord && pOwnRecord->iDisplayList != 0) {
        glDeleteLists(pOwnRecord->iDisplayList, 1);
    }
    pOwnRecord = std::make_unique<ModelData>();
    pModel = pOwnRecord.get();
    pModel->iDisplayList = glGenLists(1);
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const float none[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glNewList(pModel->iDisplayList, GL_COMPILE);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glMaterialfv(GL_FRONT, GL_AMBIENT, white);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, none);
    glMaterialfv(GL_FRONT, GL_SPECULAR, none);
    glMaterialfv(GL_FRONT, GL_EMISSION, none);
    glMaterialf(GL_FRONT, GL_SHININESS, 0.0f);
    SmokeTexture::drawSquare(pTexture.get());
    glDisable(GL_TEXTURE_2D);
    glEndList();
    return pModel->iDisplayList;
}

void SmokeCloud::drawModel() {
    const float colour[4] = {kGrey, kGrey, kGrey,
                             kStartAlpha - static_cast<float>(dAge / kLifetime)};
    SmokeTexture::drawEffect(pTexture.get(), colour, pContainer->uses(kShortcutEffects));
}

float SmokeCloud::getDrawRadius() const {
    return SmokeTexture::reach(fScale);
}
