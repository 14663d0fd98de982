// RadarScope: projects each element's offset from the ship onto two of the ship's axes and
// scales the scope's range onto its radius; anything farther out sits on the rim.
#include "hud/RadarScope.h"

#include "world/ElementContainer.h"

#include <GL/gl.h>

#include <cmath>

namespace {

const float kRadarRange = 2000.0f; // world units shown from the centre to the rim
const float kRadarRadius = 0.06f;  // scope radius in the plane one unit in front of the eye

// Dots made room for beyond the world's size when the buffers grow: a battle's smoke and shots.
const std::size_t kRoomForAFight = 1024;

} // namespace

RadarScope::RadarScope(ElementContainer* container, int mode, float x, float y)
    : iMode(mode), fX(x), fY(y), pContainer(container), fDotSize(kRadarDotSize) {}

void RadarScope::draw() {
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glPointSize(fDotSize);
    glEnable(GL_POINT_SMOOTH);

    // One batch: the ship itself at the centre, in green, then a dot per active element in list
    // order, each over the ones before it as if drawn one by one.
    // Room for every element; the buffers keep it from frame to frame, and when the world
    // outgrows them they make room for a lively fight more, so that new smoke and shots do not
    // cost the heap frame after frame.
    const std::size_t entries = pContainer->size() + 1;
    if (dots.capacity() < 2 * entries) {
        dots.reserve(2 * (entries + kRoomForAFight));
        colours.reserve(3 * (entries + kRoomForAFight));
    }
    dots.resize(2 * entries);
    colours.resize(3 * entries);
    float* dot = dots.data();
    float* colour = colours.data();
    *dot++ = fX;
    *dot++ = fY;
    *colour++ = 0.0f;
    *colour++ = 1.0f;
    *colour++ = 0.0f;
    const Element3D* player = pContainer->getPlayer();
    for (auto it = pContainer->begin(); player != nullptr && it != pContainer->end(); ++it) {
        const Object3D& element = **it;
        if (!element.isActive()) {
            continue;
        }
        const float d[3] = {element.getPos(0) - player->getPos(0),
                            element.getPos(1) - player->getPos(1),
                            element.getPos(2) - player->getPos(2)};
        float a =
            player->getRight(0) * d[0] + player->getRight(1) * d[1] + player->getRight(2) * d[2];
        float b =
            iMode == kRadarTopView
                ? player->getView(0) * d[0] + player->getView(1) * d[1] + player->getView(2) * d[2]
                : player->getUp(0) * d[0] + player->getUp(1) * d[1] + player->getUp(2) * d[2];
        a = a / kRadarRange * kRadarRadius;
        b = b / kRadarRange * kRadarRadius;
        if (a * a + b * b > kRadarRadius * kRadarRadius) {
            // Out of range: keep the direction, pin it to the rim.
            const float length = std::sqrt(a * a + b * b);
            a = a / length * kRadarRadius;
            b = b / length * kRadarRadius;
        }
        *dot++ = fX + a;
        *dot++ = fY + b;
        for (int c = 0; c < 3; ++c) {
            *colour++ = element.getRadarColor(c);
        }
    }
    dots.resize(static_cast<std::size_t>(dot - dots.data()));
    colours.resize(static_cast<std::size_t>(colour - colours.data()));
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, dots.data());
    glColorPointer(3, GL_FLOAT, 0, colours.data());
    glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(dots.size() / 2));
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    // A colour array leaves the current colour undefined; dot by dot it was the last dot's.
    glColor3fv(&colours[colours.size() - 3]);
}
