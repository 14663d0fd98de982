// Deterministic pseudo-random numbers for the generated art: the same seed always gives the
// same models and textures, whatever the platform's own rand() does.
#pragma once

#include <cstdint>

class Random {
public:
    explicit Random(std::uint64_t seed);

    std::uint32_t next();
    // Uniform in [0, 1).
    float uniform();
    // Uniform in [lo, hi).
    float range(float lo, float hi);
    // Uniform integer in [0, n).
    int below(int n);

private:
    std::uint64_t state;
};
