// Gradient noise (improved Perlin) with a seeded permutation and optional 2D periods.
#include "tools/datagen/Noise.h"

#include "tools/datagen/Random.h"

#include <cmath>

namespace {

float fade(float t) {
    return t * t * t * (t * (t * 6 - 15) + 10);
}
float mix(float a, float b, float t) {
    return a + (b - a) * t;
}

float grad3(int h, float x, float y, float z) {
    int k = h & 15;
    float u = k < 8 ? x : y;
    float v = k < 4 ? y : (k == 12 || k == 14 ? x : z);
    return ((k & 1) ? -u : u) + ((k & 2) ? -v : v);
}

float grad2(int h, float x, float y) {
    switch (h & 7) {
    case 0:
        return x + y;
    case 1:
        return -x + y;
    case 2:
        return x - y;
    case 3:
        return -x - y;
    case 4:
        return x;
    case 5:
        return -x;
    case 6:
        return y;
    default:
        return -y;
    }
}

int wrap(int i, int period) {
    if (period <= 0) {
        return i;
    }
    int m = i % period;
    return m < 0 ? m + period : m;
}

} // namespace

Noise::Noise(std::uint32_t seed) {
    Random random(seed);
    for (int i = 0; i < 256; ++i) {
        perm[static_cast<std::size_t>(i)] = i;
    }
    for (int i = 255; i > 0; --i) {
        int j = random.below(i + 1);
        std::swap(perm[static_cast<std::size_t>(i)], perm[static_cast<std::size_t>(j)]);
    }
    for (int i = 0; i < 256; ++i) {
        perm[static_cast<std::size_t>(i + 256)] = perm[static_cast<std::size_t>(i)];
    }
}

float Noise::noise3(float x, float y, float z) const {
    float fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
    int X = static_cast<int>(fx) & 255, Y = static_cast<int>(fy) & 255,
        Z = static_cast<int>(fz) & 255;
    x -= fx;
    y -= fy;
    z -= fz;
    float u = fade(x), v = fade(y), w = fade(z);
    int A = hash(X) + Y, AA = hash(A) + Z, AB = hash(A + 1) + Z;
    int B = hash(X + 1) + Y, BA = hash(B) + Z, BB = hash(B + 1) + Z;
    return mix(
        mix(mix(grad3(hash(AA), x, y, z), grad3(hash(BA), x - 1, y, z), u),
            mix(grad3(hash(AB), x, y - 1, z), grad3(hash(BB), x - 1, y - 1, z), u), v),
        mix(mix(grad3(hash(AA + 1), x, y, z - 1), grad3(hash(BA + 1), x - 1, y, z - 1), u),
            mix(grad3(hash(AB + 1), x, y - 1, z - 1), grad3(hash(BB + 1), x - 1, y - 1, z - 1), u),
            v),
        w);
}

float Noise::noise2(float x, float y, int period) const {
    float fx = std::floor(x), fy = std::floor(y);
    int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    x -= fx;
    y -= fy;
    int x0 = wrap(ix, period) & 255, x1 = wrap(ix + 1, period) & 255;
    int y0 = wrap(iy, period) & 255, y1 = wrap(iy + 1, period) & 255;
    float u = fade(x), v = fade(y);
    float n00 = grad2(hash(hash(x0) + y0), x, y);
    float n10 = grad2(hash(hash(x1) + y0), x - 1, y);
    float n01 = grad2(hash(hash(x0) + y1), x, y - 1);
    float n11 = grad2(hash(hash(x1) + y1), x - 1, y - 1);
    // The 2D gradients reach about 0.7 at most; scale to use the [-1, 1] range like noise3.
    return 1.4f * mix(mix(n00, n10, u), mix(n01, n11, u), v);
}

float Noise::fbm3(float x, float y, float z, int octaves, float gain) const {
    float sum = 0, amplitude = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * noise3(x, y, z);
        norm += amplitude;
        amplitude *= gain;
        x *= 2;
        y *= 2;
        z *= 2;
    }
    return sum / norm;
}

float Noise::fbm2(float x, float y, int octaves, int period, float gain) const {
    float sum = 0, amplitude = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * noise2(x, y, period);
        norm += amplitude;
        amplitude *= gain;
        x *= 2;
        y *= 2;
        period *= 2;
    }
    return sum / norm;
}

float Noise::ridged2(float x, float y, int octaves, int period) const {
    float sum = 0, amplitude = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        float n = 1.0f - std::fabs(noise2(x, y, period));
        sum += amplitude * n * n;
        norm += amplitude;
        amplitude *= 0.5f;
        x *= 2;
        y *= 2;
        period *= 2;
    }
    return sum / norm;
}
