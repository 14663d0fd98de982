// Shields: breaking and handing the hits back to the owner, the flash and its fade, and the
// wire-frame sphere.
#include "game/Shield.h"

#include "platform/Platform.h"
#include "world/ElementContainer.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <memory>

namespace {
const float kSphereAlpha = 0.5f;
// Cyan of the unlit sphere before the glow is added.
const float kBaseCyan = 0.2f;

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
    if (iWireList != 0) {
        glDeleteLists(iWireList, 1);
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

void Shield::drawSphere(float radius, int slices, int stacks) {
    GLUquadric* quadric = wireQuadric();
    if (quadric == nullptr) {
        platform::debugOutput("error creating quadric");
        return;
    }
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, kSphereAlpha);
    const float glow = static_cast<float>(dGlow);
    const float ambient[4] = {0.0f, kBaseCyan + glow, kBaseCyan + glow, kSphereAlpha};
    const float none[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, none);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, none);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, none);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 0.0f);
    bool once = pContainer->uses(kShortcutWires) && slices == kSlices && stacks == kStacks;
    if (once && (iWireList == 0 || fWireRadius != radius)) {
        GLint compiling = 0; // lists do not nest: inside another one, the wires go straight in
        glGetIntegerv(GL_LIST_INDEX, &compiling);
        once = compiling == 0;
    }
    if (once && (iWireList == 0 || fWireRadius != radius)) {
        // Compiled on its first draw (or a new radius), since GLU makes the wires anew each time.
        if (iWireList == 0) {
            iWireList = glGenLists(1);
        }
        glNewList(iWireList, GL_COMPILE);
        gluSphere(quadric, radius, slices, stacks);
        glEndList();
        fWireRadius = radius;
    }
    if (once && iWireList != 0) {
        glCallList(iWireList);
    } else {
        gluSphere(quadric, radius, slices, stacks);
    }
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
}
