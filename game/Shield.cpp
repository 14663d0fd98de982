// Shields: breaking and handing the hits back to the owner, the flash and its fade, and the
// wire-frame sphere.
#include "game/Shield.h"

#include "platform/Platform.h"
#include "world/CulledModelState.h"
#include "world/ElementContainer.h"
#include "world/ModelData.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

namespace {
const float kSphereAlpha = 0.5f;
const float kSphereColour[4] = {1.0f, 1.0f, 1.0f, kSphereAlpha};
// Cyan of the unlit sphere before the glow is added.
const float kBaseCyan = 0.2f;
// How much farther than its radius a drawn sphere may reach.
const float kDrawRadiusSlack = 1.001f;

// GLU draws a wire sphere's meridians last, each from the north pole to the south: the last
// normal it sends is the last meridian's at the south pole. GLU keeps its angles in floats, so
// that normal leans off the axis by the sine of a float pi; it is worked out here as GLU does.
// (For a negative radius GLU draws nothing.)
const std::array<float, 3>& wiresLastNormal() {
    static const std::array<float, 3> normal = [] {
        const double pi = 3.14159265358979323846;
        const auto meridian =
            static_cast<float>(2.0 * pi * (Shield::kSlices - 1) / Shield::kSlices);
        const auto pole = static_cast<float>(pi * Shield::kStacks / Shield::kStacks);
        const auto lean = static_cast<float>(std::sin(pole));
        return std::array<float, 3>{static_cast<float>(std::sin(meridian)) * lean,
                                    static_cast<float>(std::cos(meridian)) * lean,
                                    static_cast<float>(std::cos(pole))};
    }();
    return normal;
}

// One wire-frame quadric for every shield, made on first use: drawing must not allocate one per
// shield and frame. When making it fails, the next draw tries again.
std::unique_ptr<GLUquadric, void (*)(GLUquadric*)>& sharedQuadric() {
    static std::unique_ptr<GLUquadric, void (*)(GLUquadric*)> quadric(nullptr, &gluDeleteQuadric);
    return quadric;
}

GLUquadric* wireQuadric() {
    auto& quadric = sharedQuadric();
    if (!quadric) {
        quadric.reset(Shield::makeQuadric());
        if (quadric) {
            gluQuadricDrawStyle(quadric.get(), GLU_LINE);
            gluQuadricNormals(quadric.get(), GLU_SMOOTH);
        }
    }
    return quadric.get();
}
} // namespace

GLUquadric* (*Shield::makeQuadric)() = &gluNewQuadric;

void Shield::dropQuadric() {
    sharedQuadric().reset();
}

Shield::Shield(ElementContainer* container) : Object3D(container) {
    init();
}

Shield::~Shield() {
    if (pOwner != nullptr && pOwner->getShield() == this) {
        pOwner->setShield(nullptr);
    }
    if (iDisplayList != 0) {
        glDeleteLists(iDisplayList, 1);
    }
}

void Shield::init() {
    dGlow = kFlash;
    dGlowTimer = 0.0;
    dGlowInterval = kGlowInterval;
    dGlowStep = kGlowStep;
    fHealth = kHealth;
    bSortByDistance = true; // translucent: after the solid objects, nearest first
    bVisible = true;
}

void Shield::hit(float damage) {
    const bool breaks = fHealth - damage <= 0.0f;
    pContainer->sound().play(breaks ? Sound::ShieldBreak : Sound::ShieldHit, fPos[0], fPos[1],
                             fPos[2]);
    if (breaks) {
        // Broken: from now on the hits go to the owner, which may grow a new shield later.
        bActive = false;
        if (pOwner != nullptr) {
            pOwner->setActive(true);
            if (pOwner->getShield() == this) {
                pOwner->setShield(nullptr);
            }
            pOwner = nullptr;
        }
    }
    Object3D::hit(damage);
    dGlow = kFlash;
    dGlowTimer = 0.0;
}

void Shield::update(double t) {
    if (dGlow > kGlowThreshold) {
        dGlowTimer += t;
        if (dGlowTimer > dGlowInterval) {
            dGlowTimer -= dGlowInterval;
            dGlow -= dGlowStep;
        }
    }
}

unsigned Shield::createDisplayList() {
    if (iDisplayList != 0) {
        glDeleteLists(iDisplayList, 1);
    }
    iDisplayList = glGenLists(1);
    glNewList(iDisplayList, GL_COMPILE);
    drawSphere(fRadius, kSlices, kStacks);
    glEndList();
    return iDisplayList;
}

void Shield::draw() {
    // Drawn whatever bVisible says: a shield is always seen.
    glPushMatrix();
    transform();
    drawSphere(fRadius, kSlices, kStacks);
    glPopMatrix();
}

float Shield::getDrawRadius() const {
    if (std::isnan(fRadius)) {
        return -1.0f; // not known: always drawn
    }
    const float scale =
        std::max({std::fabs(fScale[0]), std::fabs(fScale[1]), std::fabs(fScale[2])});
    // GLU's corners lie on the sphere up to the rounding of its sines and cosines.
    return std::fabs(fRadius) * scale * kDrawRadiusSlack;
}

void Shield::takeMaterial() {
    // Only the ambient glows; diffuse, specular and emission stay none, shininess 0.
    const float cyan = kBaseCyan + static_cast<float>(dGlow);
    const float ambient[4] = {0.0f, cyan, cyan, kSphereAlpha};
    std::copy_n(ambient, 4, material.ambient);
}

void Shield::leaveState(CulledModelState& state) {
    takeMaterial();
    state.leave(material, kSphereColour, fRadius < 0.0f ? nullptr : wiresLastNormal().data());
}

void Shield::drawSphere(float radius, int slices, int stacks) {
    GLUquadric* quadric = wireQuadric();
    if (quadric == nullptr) {
        platform::debugOutput("error creating quadric");
        return;
    }
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glColor4fv(kSphereColour);
    takeMaterial();
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, material.ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, material.diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, material.specular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, material.emissive);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, material.shininess);
    // Every shield of a radius draws the one list of its wires, compiled on the first draw since
    // GLU makes the wires anew each time. Lists do not nest: inside another one, the wires go
    // straight in.
    ModelData* wires = nullptr;
    if (pContainer->uses(kShortcutWires) && slices == kSlices && stacks == kStacks &&
        !std::isnan(radius)) {
        wires = &pContainer->wireModel(radius);
    }
    if (wires != nullptr && wires->iDisplayList == 0) {
        GLint compiling = 0;
        glGetIntegerv(GL_LIST_INDEX, &compiling);
        if (compiling == 0) {
            wires->iDisplayList = glGenLists(1);
            glNewList(wires->iDisplayList, GL_COMPILE);
            gluSphere(quadric, radius, slices, stacks);
            glEndList();
        }
    }
    if (wires != nullptr && wires->iDisplayList != 0) {
        glCallList(wires->iDisplayList);
    } else {
        gluSphere(quadric, radius, slices, stacks);
    }
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
}
