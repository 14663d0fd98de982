// Explosions: age, growth, billboarding toward the player, the orange-to-red fade and removal.
#include "game/Explosion.h"

#include "assets/ObjectTexture.h"
#include "game/SmokeTexture.h"
#include "platform/Platform.h"
#include "world/ElementContainer.h"

namespace {
const float kRed = 0.5f;
// Green starts at kRed - kGreenStart and falls by one every kGreenFadeTime time units.
const double kGreenStart = 0.3;
const double kGreenFadeTime = 10.0;
} // namespace

Explosion::Explosion(ElementContainer* container) : Object3D(container) {
    init();
}

void Explosion::init() {
    dAge = 0.0;
    bSortByDistance = true; // translucent: after the solid objects, nearest first
    pModel = nullptr;
    bActive = false;
    bStarted = false;
    pTexture = SmokeTexture::get(*pContainer);
    if (pTexture->getTextureId() != 0) {
        platform::debugOutput("Explosion::init(): texture loaded/created successfully.\n");
    } else {
        platform::debugOutput("Explosion::init(): could not create/load texture.\n");
    }
}

void Explosion::update(double t) {
    if (!bStarted) {
        // Its maker has placed it by now: the bang is heard where it flares up.
        pContainer->sound().play(Sound::Explosion, fPos[0], fPos[1], fPos[2]);
    }
    bStarted = true;
    dAge += t;
    if (dAge <= 0.0) {
        dAge = kMinimumAge;
    }
    const float scale = static_cast<float>(dAge / kGrowthTime);
    setScale(scale, scale, scale);
    facePlayer();
    if (dAge > kLifetime) {
        fHealth = 0.0f;
    }
}

void Explosion::drawModel() {
    if (!bStarted) {
        return; // placed but not yet aged: its scale and facing are not set up
    }
    const float colour[4] = {kRed, kRed - static_cast<float>(dAge / kGreenFadeTime + kGreenStart),
                             0.0f, kStartAlpha - static_cast<float>(dAge / kFadeTime)};
    SmokeTexture::drawEffect(pTexture.get(), colour, pContainer->uses(kShortcutEffects));
}

float Explosion::getDrawRadius() const {
    return SmokeTexture::reach(fScale);
}
