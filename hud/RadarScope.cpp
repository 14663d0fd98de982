// RadarScope: projects each element's offset from the ship onto two of the ship's axes and
// scales the scope's range onto its radius; anything farther out sits on the rim.
#include "hud/RadarScope.h"

#include "world/ElementContainer.h"

#include <GL/gl.h>

#include <cmath>

namespace {

const float kRadarRange = 2000.0f; // world units shown from the centre to the rim
const float kRadarRadius = 0.06f;  // scope radius in the plane one unit in front of the eye

} // namespace

RadarScope::RadarScope(ElementContainer* container, int mode, float x, float y)
    : iMode(mode), fX(x), fY(y), pContainer(container), fDotSize(kRadarDotSize) {}

void RadarScope::draw() {
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glPointSize(fDotSize);
    glEnable(GL_POINT_SMOOTH);

    // The ship itself, at the centre.
    glColor3f(0.0f, 1.0f, 0.0f);
    glBegin(GL_POINTS);
    glVertex2f(fX, fY);
    glEnd();

    const Element3D* player = pContainer->getPlayer();
    if (player == nullptr) {
        return;
    }
    for (auto it = pContainer->begin(); it != pContainer->end(); ++it) {
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
        glColor3f(element.getRadarColor(0), element.getRadarColor(1), element.getRadarColor(2));
        glBegin(GL_POINTS);
        glVertex2f(fX + a, fY + b);
        glEnd();
    }
}
