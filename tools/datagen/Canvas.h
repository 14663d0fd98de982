// Floating-point RGBA image that the texture generators paint on. Row 0 is the bottom row, as
// in every image the game uploads.
#pragma once

#include "assets/PixelImage.h"

#include <vector>

struct Colour {
    float r = 0, g = 0, b = 0, a = 1;

    Colour() = default;
    Colour(float r_, float g_, float b_, float a_ = 1) : r(r_), g(g_), b(b_), a(a_) {}
    Colour operator*(float s) const { return {r * s, g * s, b * s, a}; }
    Colour operator+(const Colour& o) const { return {r + o.r, g + o.g, b + o.b, a}; }
};

// Component-wise blend of the colours (alpha included).
Colour mixColour(const Colour& a, const Colour& b, float t);

class Canvas {
public:
    Canvas(int width, int height, const Colour& fill = {0, 0, 0, 0});

    int width() const { return w; }
    int height() const { return h; }
    Colour& at(int x, int y) { return pixels[static_cast<std::size_t>(y * w + x)]; }
    const Colour& at(int x, int y) const { return pixels[static_cast<std::size_t>(y * w + x)]; }
    // Coordinates wrap around, so drawing across an edge continues on the other side.
    Colour& wrapped(int x, int y);

    // Paints `c` over the texel with weight `coverage` * c.a (colour and alpha both blend).
    void blend(int x, int y, const Colour& c, float coverage);
    // Adds light to the colour channels (stars, glows), alpha untouched.
    void addLight(int x, int y, const Colour& c, float amount);

    // Adds a soft round spot of light centred at (cx, cy) in texel units, wrapping at the
    // edges, with weight max(0, 1 - (d / radius)^2)^sharpness.
    void addGlow(float cx, float cy, float radius, const Colour& c, float sharpness);

    // Clamped 8-bit conversion with 3 (RGB) or 4 (RGBA) channels.
    PixelImage toImage(int channels) const;

private:
    int w, h;
    std::vector<Colour> pixels;
};
