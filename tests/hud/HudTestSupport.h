// What the HUD tests share: the cockpit-plane transform the frame draws its overlays with, and
// finding coloured pixels in the read-back picture.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace hudtest {

// The game's camera with the model-view moved one unit forward, so that (x, y) drawn at z = 0
// lands in the plane one unit in front of the eye.
void enterCockpitPlane();

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
Blob findPixels(const std::vector<std::uint8_t>& pixels,
                const std::function<bool(const Rgba&)>& match);

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
