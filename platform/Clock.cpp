// Real and virtual clocks on the system's monotonic clock.
#include "platform/Clock.h"

#include <cstdlib>

#include <cmath>

namespace platform {

Clock Clock::makeVirtual() {
    Clock clock;
    clock.virtualTime = true;
    return clock;
}

std::int64_t Clock::counter() const {
    if (virtualTime) {
        return virtualTicks;
    }
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * kTicksPerSecond + now.tv_nsec;
}

std::uint32_t Clock::milliseconds() const {
    return static_cast<std::uint32_t>(counter() / (kTicksPerSecond / 1000));
}

void Clock::advance(double seconds) {
    if (virtualTime && seconds > 0.0) {
        virtualTicks += std::llround(seconds * static_cast<double>(kTicksPerSecond));
    }
}

namespace {

struct FixedTime {
    bool fixed = false;
    std::time_t seconds = 0;
};

FixedTime& fixedTime() {
    static FixedTime time;
    return time;
}

} // namespace

std::time_t currentTime() {
    return fixedTime().fixed ? fixedTime().seconds : std::time(nullptr);
}

void fixCurrentTime(std::time_t seconds) {
    fixedTime().fixed = true;
    fixedTime().seconds = seconds;
}

float randomFraction() {
    const int kRange = 32768;
    const float kMax = 32767.0f;
    return static_cast<float>(std::rand() % kRange) / kMax;
}

} // namespace platform
