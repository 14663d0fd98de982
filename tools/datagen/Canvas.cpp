// Painting helpers of the texture generators.
#include "tools/datagen/Canvas.h"

#include <algorithm>
#include <cmath>

Colour mixColour(const Colour& a, const Colour& b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

Canvas::Canvas(int width, int height, const Colour& fill)
    : w(width), h(height), pixels(static_cast<std::size_t>(width * height), fill) {}

Colour& Canvas::wrapped(int x, int y) {
    x %= w;
    y %= h;
    return at(x < 0 ? x + w : x, y < 0 ? y + h : y);
}

void Canvas::blend(int x, int y, const Colour& c, float coverage) {
    Colour& d = at(x, y);
    d = mixColour(d, {c.r, c.g, c.b, 1.0f}, std::clamp(coverage * c.a, 0.0f, 1.0f));
}

void Canvas::addLight(int x, int y, const Colour& c, float amount) {
    Colour& d = wrapped(x, y);
    d.r += c.r * amount;
    d.g += c.g * amount;
    d.b += c.b * amount;
}

void Canvas::addGlow(float cx, float cy, float radius, const Colour& c, float sharpness) {
    int x0 = static_cast<int>(std::floor(cx - radius)),
        x1 = static_cast<int>(std::ceil(cx + radius));
    int y0 = static_cast<int>(std::floor(cy - radius)),
        y1 = static_cast<int>(std::ceil(cy + radius));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            float dx = static_cast<float>(x) + 0.5f - cx, dy = static_cast<float>(y) + 0.5f - cy;
            float q = 1.0f - (dx * dx + dy * dy) / (radius * radius);
            if (q > 0) {
                addLight(x, y, c, std::pow(q, sharpness));
            }
        }
    }
}

PixelImage Canvas::toImage(int channels) const {
    PixelImage image;
    image.width = w;
    image.height = h;
    image.channels = channels;
    image.pixels.resize(static_cast<std::size_t>(w * h * channels));
    auto byte = [](float v) {
        return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
    };
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const Colour& c = pixels[i];
        std::uint8_t* p = &image.pixels[i * static_cast<std::size_t>(channels)];
        p[0] = byte(c.r);
        p[1] = byte(c.g);
        p[2] = byte(c.b);
        if (channels == 4) {
            p[3] = byte(c.a);
        }
    }
    return image;
}
