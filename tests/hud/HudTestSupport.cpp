// The cockpit-plane transform and the pixel search behind the HUD tests.
#include "tests/hud/HudTestSupport.h"
#include "tests/support/GLTestContext.h"

#include <GL/gl.h>

#include <algorithm>

namespace hudtest {

void enterCockpitPlane() {
    testsupport::GLTest::gameCamera();
    glTranslatef(0.0f, 0.0f, -1.0f);
}

Blob findPixels(const std::vector<std::uint8_t>& pixels,
                const std::function<bool(const Rgba&)>& match) {
    const int width = testsupport::GLTest::kWidth;
    Blob blob{0, width, -1, testsupport::GLTest::kHeight, -1};
    double sumX = 0.0, sumY = 0.0;
    for (std::size_t i = 0; i + 3 < pixels.size(); i += 4) {
        if (!match(Rgba{pixels[i], pixels[i + 1], pixels[i + 2], pixels[i + 3]})) {
            continue;
        }
        const int x = static_cast<int>(i / 4) % width;
        const int y = static_cast<int>(i / 4) / width;
        blob.minX = std::min(blob.minX, x);
        blob.maxX = std::max(blob.maxX, x);
        blob.minY = std::min(blob.minY, y);
        blob.maxY = std::max(blob.maxY, y);
        sumX += x + 0.5;
        sumY += y + 0.5;
        ++blob.count;
    }
    if (blob.count > 0) {
        blob.centreX = sumX / blob.count;
        blob.centreY = sumY / blob.count;
    }
    return blob;
}

} // namespace hudtest
