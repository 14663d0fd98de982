// What the HUD tests share: the cockpit-plane transform the frame draws its overlays with, and
// finding coloured pixels in the read-back picture.
#pragma once

#include "tests/support/GLTestContext.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

namespace hudtest {

// The game's camera with the model-view moved one unit forward, so that (x, y) drawn at z = 0
// lands in the plane one unit in front of the eye.
inline void enterCockpitPlane() {
    testsupport::GLTest::gameCamera();
    glTranslatef(0.0f, 0.0f, -1.0f);
}

struct Rgba {
    int r, g, b, a;
};

// Where the pixels matching a test lie in a whole read-back frame: count, bounding box and
// centroid, in window pixels from the bottom-left corner.
struct Blob {
    int count = 0;
    int minX = 0, maxX = -1, minY = 0, maxY = -1;
    double centreX = 0.0, centreY = 0.0;
};
inline Blob findPixels(const std::vector<std::uint8_t>& pixels,
                       const std::function<bool(const Rgba&)>& match) {
    const int width = testsupport::GLTest::kWidth;
    Blob blob{0, width, -1, testsupport::GLTest::kHeight, -1};
    for (std::size_t i = 0; i + 3 < pixels.size(); i += 4) {
        if (match(Rgba{pixels[i], pixels[i + 1], pixels[i + 2], pixels[i + 3]})) {
            const int x = static_cast<int>(i / 4) % width, y = static_cast<int>(i / 4) / width;
            blob.minX = std::min(blob.minX, x);
            blob.maxX = std::max(blob.maxX, x);
            blob.minY = std::min(blob.minY, y);
            blob.maxY = std::max(blob.maxY, y);
            blob.centreX += x + 0.5;
            blob.centreY += y + 0.5;
            ++blob.count;
        }
    }
    blob.centreX /= std::max(blob.count, 1);
    blob.centreY /= std::max(blob.count, 1);
    return blob;
}

inline bool isLit(const Rgba& p) {
    return p.r > 0 || p.g > 0 || p.b > 0;
}
inline bool isGreen(const Rgba& p) {
    return p.g > 128 && p.r < 64 && p.b < 64;
}
inline bool isRed(const Rgba& p) {
    return p.r > 128 && p.g < 64 && p.b < 64;
}

} // namespace hudtest
