// A shield: a translucent wire-frame sphere around another element that takes the hits meant
// for it, flashes when struck and, when it breaks, leaves its owner open to hits.
#pragma once

#include "assets/Ms3dReader.h"
#include "world/Object3D.h"

class GLUquadric;

class Shield : public Object3D {
public:
    static constexpr float kHealth = 200.0f;
    // Brightness added by a hit, and the least glow that still fades.
    static constexpr double kFlash = 0.5;
    static constexpr double kGlowThreshold = 0.001;
    // One fade step of kGlowStep every kGlowInterval time units (1/20 s).
    static constexpr double kGlowInterval = 1.0;
    static constexpr double kGlowStep = 0.05;
    static constexpr int kSlices = 20;
    static constexpr int kStacks = 20;

    explicit Shield(ElementContainer* container);
    // A shield that goes while still guarding someone lets go of its owner first.
    ~Shield() override;

    void hit(float damage) override;
    void update(double t) override;
    void init() override;
    unsigned createDisplayList() override;
    void draw() override;
    void drawSphere(float radius, int slices, int stacks);
    // The sphere's radius under the scale: a shield out of view is skipped like its owner.
    float getDrawRadius() const override;
    Object3D* guarded() const override { return pOwner; }
    // Skipped out of view, it leaves what its drawing would: its material at this frame's glow,
    // its colour and the last normal of its wires.
    bool leavesState() const override { return true; }
    void leaveState(CulledModelState& state) override;

    // The element this shield guards; none for a shield that a level file placed. The owner
    // keeps this shield in its pShield and lets go of it in its own destructor.
    Object3D* getOwner() const { return pOwner; }
    void setOwner(Object3D* owner) { pOwner = owner; }
    double getGlow() const { return dGlow; }

    // Makes the wire-frame quadric all shields share; a failed attempt is tried again on a
    // later draw. Tests put in one that fails.
    static GLUquadric* (*makeQuadric)();
    // Lets the shared quadric go; the next draw makes a new one.
    static void dropQuadric();
    unsigned getDisplayList() const { return iDisplayList; }

private:
    // Sets material to the sphere's at the glow it has now.
    void takeMaterial();

    Material material;
    double dGlow = kFlash;
    double dGlowTimer = 0.0;
    double dGlowInterval = kGlowInterval;
    double dGlowStep = kGlowStep;
    Object3D* pOwner = nullptr;
};
