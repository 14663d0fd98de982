// Paints the star sky: a tiling nebula, then faint, medium and bright stars, denser in a
// diagonal band that also wraps around.
#include "tools/datagen/SkyTexture.h"

#include "tools/datagen/BmpWriter.h"
#include "tools/datagen/ByteSink.h"
#include "tools/datagen/Canvas.h"
#include "tools/datagen/Noise.h"
#include "tools/datagen/Random.h"
#include "tools/datagen/Vec3.h"

#include <algorithm>
#include <cmath>

namespace {

const int kSize = 512;

// Star colours from hot to cool; most stars are near white.
Colour starColour(Random& random) {
    float pick = random.uniform();
    if (pick < 0.25f) {
        return {0.75f, 0.85f, 1.0f};
    }
    if (pick < 0.70f) {
        return {1.0f, 1.0f, 1.0f};
    }
    if (pick < 0.88f) {
        return {1.0f, 0.93f, 0.75f};
    }
    if (pick < 0.97f) {
        return {1.0f, 0.78f, 0.55f};
    }
    return {1.0f, 0.6f, 0.5f};
}

// Density of the band of faint stars: highest along a diagonal that wraps with the image.
float bandDensity(float x, float y) {
    float phase = 2 * kPi * (x + y) / kSize;
    return 0.5f + 0.5f * std::cos(phase);
}

// Spreads a point of light over the four texels around a sub-texel position.
void splat(Canvas& canvas, float x, float y, const Colour& c, float brightness) {
    float fx = x - 0.5f, fy = y - 0.5f;
    int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
    float ax = fx - static_cast<float>(ix), ay = fy - static_cast<float>(iy);
    canvas.addLight(ix, iy, c, brightness * (1 - ax) * (1 - ay));
    canvas.addLight(ix + 1, iy, c, brightness * ax * (1 - ay));
    canvas.addLight(ix, iy + 1, c, brightness * (1 - ax) * ay);
    canvas.addLight(ix + 1, iy + 1, c, brightness * ax * ay);
}

void paintNebula(Canvas& canvas) {
    Noise noise(61);
    const Colour violet{0.36f, 0.14f, 0.46f}, teal{0.08f, 0.30f, 0.42f}, rose{0.45f, 0.16f, 0.22f};
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            float u = static_cast<float>(x) / kSize * 4, v = static_cast<float>(y) / kSize * 4;
            float cloud = noise.fbm2(u, v, 6, 4, 0.55f) * 0.5f + 0.5f;
            float hue = noise.fbm2(u * 0.5f + 11, v * 0.5f, 3, 2) * 0.5f + 0.5f;
            float lanes = noise.ridged2(u * 1.5f + 3, v * 1.5f, 4, 6);
            float density = std::pow(std::clamp((cloud - 0.38f) * 2.0f, 0.0f, 1.0f), 1.5f);
            density *= 1.0f - 0.7f * std::clamp((lanes - 0.6f) * 3.0f, 0.0f, 1.0f);
            density *= 0.6f + 0.4f * bandDensity(static_cast<float>(x), static_cast<float>(y));
            Colour c = hue < 0.5f ? mixColour(teal, violet, hue * 2)
                                  : mixColour(violet, rose, hue * 2 - 1);
            float k = 0.75f * density;
            canvas.at(x, y) = {0.006f + c.r * k, 0.006f + c.g * k, 0.012f + c.b * k, 1};
        }
    }
}

void paintStars(Canvas& canvas) {
    Random random(62);
    // Faint dust of stars, thicker in the band.
    int placed = 0;
    while (placed < 3200) {
        float x = random.range(0, kSize), y = random.range(0, kSize);
        if (random.uniform() > 0.25f + 0.75f * bandDensity(x, y)) {
            continue;
        }
        float brightness = 0.12f + 0.45f * std::pow(random.uniform(), 3.0f);
        splat(canvas, x, y, starColour(random), brightness * 1.6f);
        ++placed;
    }
    // Medium stars: a sharp core with a small halo.
    for (int i = 0; i < 320; ++i) {
        float x = random.range(0, kSize), y = random.range(0, kSize);
        Colour c = starColour(random);
        float brightness = random.range(0.45f, 0.95f);
        splat(canvas, x, y, c, brightness * 1.5f);
        canvas.addGlow(x, y, 2.2f, c, 3.0f);
    }
    // A few bright stars with a wide glow and thin diffraction spikes.
    for (int i = 0; i < 22; ++i) {
        float x = random.range(0, kSize), y = random.range(0, kSize);
        Colour c = starColour(random);
        float radius = random.range(3.0f, 6.0f);
        canvas.addGlow(x, y, radius, c * 0.9f, 2.5f);
        canvas.addGlow(x, y, 1.6f, {1, 1, 1}, 1.0f);
        int spike = static_cast<int>(radius * 2.6f);
        for (int d = -spike; d <= spike; ++d) {
            float fall =
                0.45f * std::pow(1.0f - std::fabs(static_cast<float>(d)) / (spike + 1), 2.0f);
            canvas.addLight(static_cast<int>(x) + d, static_cast<int>(y), c, fall);
            canvas.addLight(static_cast<int>(x), static_cast<int>(y) + d, c, fall);
        }
    }
}

} // namespace

bool writeSkyTexture(const std::string& runDir) {
    Canvas canvas(kSize, kSize);
    paintNebula(canvas);
    paintStars(canvas);
    auto bytes = encodeBmp(canvas.toImage(3));
    return bytes && saveFile(runDir + "/" + kSkyTexture, *bytes);
}
