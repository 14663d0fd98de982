// Deterministic pseudo-random numbers (PCG32) for the generated art.
#include "tools/datagen/Random.h"

Random::Random(std::uint64_t seed) : state(seed * 6364136223846793005ULL + 1442695040888963407ULL) {
    next();
}

std::uint32_t Random::next() {
    std::uint64_t old = state;
    state = old * 6364136223846793005ULL + 1442695040888963407ULL;
    auto xorshifted = static_cast<std::uint32_t>(((old >> 18u) ^ old) >> 27u);
    auto rot = static_cast<std::uint32_t>(old >> 59u);
    return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
}

float Random::uniform() {
    return static_cast<float>(next() >> 8) / 16777216.0f;
}

float Random::range(float lo, float hi) {
    return lo + (hi - lo) * uniform();
}

int Random::below(int n) {
    return n <= 0 ? 0 : static_cast<int>(next() % static_cast<std::uint32_t>(n));
}
