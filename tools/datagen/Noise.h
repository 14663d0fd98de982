// Gradient noise for rock surfaces, metal grime, nebulae and smoke: 3D noise for displacing
// meshes and 2D noise that can repeat with a period so that textures tile without seams.
#pragma once

#include <array>
#include <cstdint>

class Noise {
public:
    explicit Noise(std::uint32_t seed);

    // Perlin gradient noise, roughly in [-1, 1].
    float noise3(float x, float y, float z) const;
    // 2D gradient noise repeating every `period` units on both axes (period 0: no repeat).
    float noise2(float x, float y, int period = 0) const;

    // Fractal sums of octaves; each octave doubles the frequency and multiplies the amplitude
    // by `gain`. The 2D form keeps the period per octave, so the sum tiles too.
    float fbm3(float x, float y, float z, int octaves, float gain = 0.5f) const;
    float fbm2(float x, float y, int octaves, int period = 0, float gain = 0.5f) const;
    // Ridged variant (sharp creases), used for veins and cracks; roughly in [0, 1].
    float ridged2(float x, float y, int octaves, int period = 0) const;

private:
    std::array<int, 512> perm{};
    int hash(int i) const { return perm[static_cast<std::size_t>(i & 255)]; }
};
