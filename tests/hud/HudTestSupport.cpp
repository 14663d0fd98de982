// The cockpit-plane transform and the pixel search behind the HUD tests.
#include "tests/hud/HudTestSupport.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>

namespace hudtest {

namespace {
const double kFieldOfView = 45.0; // degrees, vertical
const double kNearPlane = 1.0;    // world units
const double kFarPlane = 12000.0; // world units
} // namespace

void enterCockpitPlane() {
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFieldOfView, double(viewport[2]) / double(viewport[3]), kNearPlane, kFarPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -1.0f);
}

Blob findPixels(const std::vector<std::uint8_t>& pixels, int width, int height,
                const std::function<bool(const Rgba&)>& match, int left, int bottom, int right,
                int top) {
    if (right < 0) {
        right = width - 1;
    }
    if (top < 0) {
        top = height - 1;
    }
    Blob blob;
    double sumX = 0.0, sumY = 0.0;
    for (int y = bottom; y <= top; ++y) {
        for (int x = left; x <= right; ++x) {
            const std::uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
            if (!match(Rgba{p[0], p[1], p[2], p[3]})) {
                continue;
            }
            if (blob.count == 0) {
                blob.minX = blob.maxX = x;
                blob.minY = blob.maxY = y;
            }
            blob.minX = std::min(blob.minX, x);
            blob.maxX = std::max(blob.maxX, x);
            blob.minY = std::min(blob.minY, y);
            blob.maxY = std::max(blob.maxY, y);
            sumX += x + 0.5;
            sumY += y + 0.5;
            ++blob.count;
        }
    }
    if (blob.count > 0) {
        blob.centreX = sumX / blob.count;
        blob.centreY = sumY / blob.count;
    }
    return blob;
}

} // namespace hudtest
