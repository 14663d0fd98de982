// Paints the smoke puff: a radial falloff broken up by billowing noise.
#include "tools/datagen/SmokeTexture.h"

#include "tools/datagen/ByteSink.h"
#include "tools/datagen/Canvas.h"
#include "tools/datagen/Noise.h"
#include "tools/datagen/TgaWriter.h"

#include <algorithm>
#include <cmath>

bool writeSmokeTexture(const std::string& runDir) {
    const int size = 128;
    const float radius = 60.0f; // texels; alpha is 0 from here outward
    Canvas canvas(size, size);
    Noise noise(71);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float dx = static_cast<float>(x) + 0.5f - size / 2,
                  dy = static_cast<float>(y) + 0.5f - size / 2;
            float r = std::sqrt(dx * dx + dy * dy) / radius;
            float billow =
                noise.fbm2(static_cast<float>(x) / 22, static_cast<float>(y) / 22, 4) * 0.5f + 0.5f;
            // The noise eats into the rim more than into the middle, so the outline is ragged.
            float edge = 1.0f - r * (0.6f + 0.7f * (1.0f - billow));
            float puff = std::clamp(edge, 0.0f, 1.0f);
            puff = puff * puff * (3 - 2 * puff);
            float alpha =
                r >= 1.0f ? 0.0f : std::clamp(puff * (0.75f + 0.45f * billow), 0.0f, 1.0f);
            float grey = 0.78f + 0.17f * billow;
            canvas.at(x, y) = {grey, grey, grey * 1.02f, alpha};
        }
    }
    return saveFile(runDir + "/" + kSmokeTexture, encodeTga(canvas.toImage(4), false));
}
