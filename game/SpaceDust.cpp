// Space dust: scattering the grains, keeping them wrapped around the player, spinning them and
// drawing them from one shared grain list.
#include "game/SpaceDust.h"

#include "platform/Clock.h"
#include "world/ElementContainer.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdlib>

namespace {
const float kGrainScale = 0.5f; // a grain is a unit square scaled to half a world unit
const float kFullTurn = 360.0f; // degrees
const int kCornersPerGrain = 8;
// World units beyond a view plane at which a grain (half a unit across) surely does not show.
const float kGrainReach = 1.0f;
const double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

// The square's corners (y, z in the plane x = 0), in the order grainSquare sends them.
const float kSquare[kCornersPerGrain][2] = {{-0.5f, -0.5f}, {-0.5f, 0.5f},  {0.5f, 0.5f},
                                            {0.5f, -0.5f},  {-0.5f, -0.5f}, {0.5f, -0.5f},
                                            {0.5f, 0.5f},   {-0.5f, 0.5f}};

// The grain's square in the plane x = 0, once each way round so it shows from both sides.
void grainSquare() {
    glBegin(GL_QUADS);
    glVertex3f(0.0f, -0.5f, -0.5f);
    glVertex3f(0.0f, -0.5f, 0.5f);
    glVertex3f(0.0f, 0.5f, 0.5f);
    glVertex3f(0.0f, 0.5f, -0.5f);
    glVertex3f(0.0f, -0.5f, -0.5f);
    glVertex3f(0.0f, 0.5f, -0.5f);
    glVertex3f(0.0f, 0.5f, 0.5f);
    glVertex3f(0.0f, -0.5f, 0.5f);
    glEnd();
}
} // namespace

SpaceDust::SpaceDust(ElementContainer* container, Element3D* follow)
    : Object3D(container), pFollow(follow) {
    bActive = false;

    iDustList = glGenLists(1);
    glNewList(iDustList, GL_COMPILE);
    glColor3f(1.0f, 1.0f, 1.0f);
    glScalef(kGrainScale, kGrainScale, kGrainScale);
    grainSquare();
    glEndList();

    std::srand(static_cast<unsigned>(platform::currentTime()));
    const float half = kCubeSide / 2.0f;
    for (Grain& grain : dust) {
        for (int i = 0; i < 3; ++i) {
            const float centre = pFollow != nullptr ? pFollow->getPos(i) : 0.0f;
            grain.pos[i] = centre + platform::randomFraction() * kCubeSide - half;
        }
        grain.angle = platform::randomFraction() * kFullTurn;
        float axis[3];
        for (float& a : axis) {
            a = platform::randomFraction();
        }
        const float length = std::sqrt(axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2]);
        for (int i = 0; i < 3; ++i) {
            // Three zero draws in a row would leave no axis; any axis then does.
            grain.axis[i] = length > 0.0f ? axis[i] / length : (i == 2 ? 1.0f : 0.0f);
        }
    }
}

SpaceDust::~SpaceDust() {
    glDeleteLists(iDustList, 1);
}

void SpaceDust::update(double t) {
    const float half = kCubeSide / 2.0f;
    for (Grain& grain : dust) {
        if (pFollow != nullptr) {
            for (int i = 0; i < 3; ++i) {
                // One cube side per update at most: a grain far outside comes back over a few
                // frames, as the cube drifts with the ship.
                const float centre = pFollow->getPos(i);
                if (grain.pos[i] - centre > half) {
                    grain.pos[i] -= kCubeSide;
                }
                if (grain.pos[i] - centre < -half) {
                    grain.pos[i] += kCubeSide;
                }
            }
        }
        grain.angle += kSpin * static_cast<float>(t);
        if (grain.angle > kFullTurn) {
            grain.angle -= kFullTurn;
        }
    }
}

void SpaceDust::draw() {
    if (!bVisible) {
        return;
    }
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glDisable(GL_TEXTURE_2D);
    glColor3f(1.0f, 1.0f, 1.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glMaterialfv(GL_FRONT, GL_AMBIENT, white);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, white);
    glMaterialfv(GL_FRONT, GL_SPECULAR, white);
    glMaterialfv(GL_FRONT, GL_EMISSION, white);
    glMaterialf(GL_FRONT, GL_SHININESS, 0.0f);
    if (pContainer->uses(kShortcutDust)) {
        drawBatched();
        return;
    }
    for (const Grain& grain : dust) {
        glPushMatrix();
        glTranslatef(grain.pos[0], grain.pos[1], grain.pos[2]);
        glRotatef(grain.angle, grain.axis[0], grain.axis[1], grain.axis[2]);
        glCallList(iDustList);
        glPopMatrix();
    }
}

void SpaceDust::drawBatched() {
    corners.clear();
    corners.reserve(static_cast<std::size_t>(kGrainCount) * kCornersPerGrain * 3);
    for (const Grain& grain : dust) {
        if (!pContainer->mayShow(grain.pos, kGrainReach)) {
            continue;
        }
        // The middle and last columns of the glRotatef matrix, times the grain's scale: the
        // square lies in the plane x = 0, so the first column never counts.
        const float* a = grain.axis;
        const float length = std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]);
        const float x = a[0] / length;
        const float y = a[1] / length;
        const float z = a[2] / length;
        const float s = std::sin(static_cast<float>(grain.angle * kRadiansPerDegree));
        const float c = std::cos(static_cast<float>(grain.angle * kRadiansPerDegree));
        const float k = 1.0f - c;
        const float u[3] = {(x * y * k - z * s) * kGrainScale, (y * y * k + c) * kGrainScale,
                            (y * z * k + x * s) * kGrainScale};
        const float v[3] = {(x * z * k + y * s) * kGrainScale, (y * z * k - x * s) * kGrainScale,
                            (z * z * k + c) * kGrainScale};
        for (const auto& corner : kSquare) {
            for (int i = 0; i < 3; ++i) {
                corners.push_back(grain.pos[i] + u[i] * corner[0] + v[i] * corner[1]);
            }
        }
    }
    // The white emission saturates every lit grain: unlit white is the same colour.
    const GLboolean lit = glIsEnabled(GL_LIGHTING);
    glDisable(GL_LIGHTING);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glInterleavedArrays(GL_V3F, 0, corners.data());
    glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(corners.size() / 3));
    glPopClientAttrib();
    if (lit) {
        glEnable(GL_LIGHTING);
    }
}
