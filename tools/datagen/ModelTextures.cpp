// Procedural surface textures of the models. Every one tiles, because the models repeat them.
#include "tools/datagen/ModelTextures.h"

#include "tools/datagen/BmpWriter.h"
#include "tools/datagen/ByteSink.h"
#include "tools/datagen/Canvas.h"
#include "tools/datagen/JpegWriter.h"
#include "tools/datagen/Noise.h"
#include "tools/datagen/Random.h"
#include "tools/datagen/TgaWriter.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

float smoothstep(float e0, float e1, float x) {
    float t = std::clamp((x - e0) / (e1 - e0), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

// Light grey hull plating: staggered rows of panels with dark seams, a bevel highlight, rivet
// lines and streaks of grime. Materials tint it per model part.
Canvas paintHull() {
    const int size = 256, rowHeight = 64;
    Canvas canvas(size, size);
    Noise noise(11);
    Random random(12);
    struct Row {
        int offset;
        std::vector<int> cuts; // panel boundaries from 0 to size (wrapping by offset)
        std::vector<float> shade;
    };
    std::vector<Row> rows;
    for (int r = 0; r < size / rowHeight; ++r) {
        Row row;
        row.offset = random.below(size);
        int x = 0;
        row.cuts.push_back(0);
        while (x < size) {
            int w = 48 + 16 * random.below(6);
            x = std::min(size, x + w);
            if (size - x < 40) {
                x = size;
            }
            row.cuts.push_back(x);
            row.shade.push_back(random.range(-0.05f, 0.05f));
        }
        rows.push_back(row);
    }
    for (int y = 0; y < size; ++y) {
        const Row& row = rows[static_cast<std::size_t>(y / rowHeight)];
        int yIn = y % rowHeight;
        for (int x = 0; x < size; ++x) {
            int xr = (x + row.offset) % size;
            std::size_t panel = 0;
            while (xr >= row.cuts[panel + 1]) {
                ++panel;
            }
            int left = xr - row.cuts[panel], right = row.cuts[panel + 1] - 1 - xr;
            int bottom = yIn, top = rowHeight - 1 - yIn;
            int edge = std::min({left, right, bottom, top});
            float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
            float grime = noise.fbm2(u * 8, v * 8, 5, 8);
            float streak = noise.fbm2(u * 32, v * 4, 3, 0) * 0.5f + 0.5f;
            float base = 0.62f + row.shade[panel] + 0.07f * grime - 0.08f * streak * streak;
            if (edge == 0) {
                base *= 0.35f; // seam
            } else if (edge == 1) {
                base *= (left == 1 || top == 1) ? 1.18f : 0.72f; // bevel: lit from the upper left
            }
            // Rivets 4 texels inside the panel edges, every 8 texels: a lit dot with a shadow.
            int side = std::min(left, right), cap = std::min(bottom, top);
            int alongSide = yIn % 8 - 4, alongCap = xr % 8 - 4;
            bool onSide = side >= 3 && side <= 5 && std::abs(alongSide) <= 1 && cap >= 3;
            bool onCap = cap >= 3 && cap <= 5 && std::abs(alongCap) <= 1 && side >= 3;
            if (onSide || onCap) {
                bool centre = onSide ? (side == 4 && alongSide == 0) : (cap == 4 && alongCap == 0);
                base = centre ? 0.9f : 0.74f;
            }
            float fine = 0.03f * noise.noise2(x * 0.5f, y * 0.5f, size / 2);
            float c = base + fine;
            canvas.at(x, y) = {c * 0.98f, c, c * 1.03f, 1};
        }
    }
    return canvas;
}

// Armour plate: dark steel with a raised centre square, hazard stripes along the top and bottom
// edges and a bolt in each corner.
Canvas paintPanel() {
    const int size = 128;
    Canvas canvas(size, size);
    Noise noise(21);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
            float scratches = noise.ridged2(u * 6, v * 24, 3, 6);
            float n = noise.fbm2(u * 4, v * 4, 4, 4);
            Colour c{0.36f + 0.05f * n, 0.38f + 0.05f * n, 0.35f + 0.04f * n};
            c = c * (1.0f + 0.25f * std::pow(scratches, 6.0f));
            int edge = std::min({x, y, size - 1 - x, size - 1 - y});
            bool stripeBand = (y < 18 || y >= size - 18) && edge >= 3;
            if (stripeBand) {
                bool yellow = ((x + y) / 10) % 2 == 0;
                c = yellow ? Colour{0.85f, 0.68f, 0.12f} : Colour{0.09f, 0.09f, 0.08f};
                c = c * (0.9f + 0.1f * n);
            }
            // Raised centre square with a bevel lit from the upper left.
            int cx = std::abs(x - size / 2), cy = std::abs(y - size / 2);
            int box = std::max(cx, cy);
            if (box < 34 && !stripeBand) {
                c = c * 1.12f;
                if (box >= 31) {
                    c = c *
                        ((x < size / 2 && cx >= cy) || (y >= size / 2 && cy >= cx) ? 1.3f : 0.6f);
                } else if ((x + y) % 12 == 0 || (x - y + size) % 12 == 0) {
                    c = c * 0.82f; // cross-hatched grip pattern
                }
            }
            if (edge < 3) {
                c = c * (edge == 0 ? 0.3f : 0.55f);
            }
            // Corner bolts.
            for (int bx : {9, size - 10}) {
                for (int by : {27, size - 28}) {
                    float dx = static_cast<float>(x - bx), dy = static_cast<float>(y - by);
                    float d = std::sqrt(dx * dx + dy * dy);
                    if (d < 5.0f) {
                        float light = 0.55f + 0.08f * (dy - dx);
                        c = Colour{light, light, light * 0.95f};
                    } else if (d < 6.0f) {
                        c = c * 0.4f;
                    }
                }
            }
            canvas.at(x, y) = c;
        }
    }
    return canvas;
}

// Plasma: bright, nearly white swirls (the materials' emission colours tint it), with a flat
// white core band where run-length encoding has something to compress.
Canvas paintGlow() {
    const int size = 64;
    Canvas canvas(size, size);
    Noise noise(31);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
            float swirl = noise.fbm2(u * 4 + 0.5f * noise.noise2(u * 4, v * 4, 4), v * 4, 4, 4);
            float band = std::fabs(v - 0.5f) * 2; // 0 in the middle row, 1 at the edges
            float level = band < 0.2f ? 1.0f : 0.86f + 0.14f * swirl;
            // Quantised so that neighbouring texels repeat and the RLE packets get longer.
            level = std::round(level * 24) / 24;
            canvas.at(x, y) = {level, level * 0.97f, level * 0.94f, 1};
        }
    }
    return canvas;
}

// Rock: mottled grey-brown with dark cracks, light mineral grains and an embossed relief.
Canvas paintRock() {
    const int size = 256;
    Canvas canvas(size, size);
    Noise noise(41);
    std::vector<float> height(static_cast<std::size_t>(size * size));
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
            height[static_cast<std::size_t>(y * size + x)] = noise.fbm2(u * 8, v * 8, 6, 8, 0.55f);
        }
    }
    auto h = [&](int x, int y) {
        return height[static_cast<std::size_t>(((y + size) % size) * size + (x + size) % size)];
    };
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
            float tone = noise.fbm2(u * 3 + 7.3f, v * 3, 4, 3) * 0.5f + 0.5f;
            Colour dark{0.30f, 0.27f, 0.24f}, light{0.72f, 0.66f, 0.58f};
            Colour c =
                mixColour(dark, light, std::clamp(tone * 0.8f + 0.2f * h(x, y) + 0.1f, 0.0f, 1.0f));
            float crack = noise.ridged2(u * 5 + 3.1f, v * 5, 4, 5);
            c = c * (1.0f - 0.55f * smoothstep(0.72f, 0.95f, crack));
            float relief = (h(x - 1, y + 1) - h(x + 1, y - 1)) * 3.0f;
            c = c * (1.0f + relief);
            float grain = noise.noise2(x * 0.9f, y * 0.9f, 0);
            if (grain > 0.55f) {
                c = c * 1.25f;
            }
            canvas.at(x, y) = c;
        }
    }
    return canvas;
}

} // namespace

bool writeModelTextures(const std::string& runDir) {
    const std::string dir = runDir + "/";
    auto hull = encodeBmp(paintHull().toImage(3));
    bool ok = hull && saveFile(dir + kHullTexture, *hull);
    ok = saveFile(dir + kPanelTexture, encodeTga(paintPanel().toImage(3), false)) && ok;
    ok = saveFile(dir + kGlowTexture, encodeTga(paintGlow().toImage(4), true)) && ok;
    ok = writeJpeg(dir + kRockTexture, paintRock().toImage(3), 88) && ok;
    return ok;
}
