// The game's clocks: a high-resolution counter with its frequency for frame times, a
// millisecond clock for the frames-per-second figure, and the wall-clock time that seeds the
// random generator. A virtual clock only moves when told, so recorded runs repeat exactly.
#pragma once

#include <cstdint>
#include <ctime>

namespace platform {

class Clock {
public:
    // Real time from the system's monotonic clock.
    Clock() = default;
    // A clock standing at zero that moves only through advance().
    static Clock makeVirtual();

    std::int64_t counter() const;
    std::int64_t frequency() const { return kTicksPerSecond; }
    // Milliseconds since some fixed start, wrapping like the desktop's tick count.
    std::uint32_t milliseconds() const;
    bool isVirtual() const { return virtualTime; }
    void advance(double seconds);

private:
    static const std::int64_t kTicksPerSecond = 1000000000; // nanoseconds

    bool virtualTime = false;
    std::int64_t virtualTicks = 0;
};

// Seconds since 1970 as the game seeds its random numbers with them: the system's time, or for
// the whole process the value fixed by a run that must repeat (the headless runner's --seed).
std::time_t currentTime();
void fixCurrentTime(std::time_t seconds);

// The game's random numbers: the C library generator (seeded with srand), scaled to 0..1 over
// the 0..32767 range the game was tuned for. glibc's rand runs to 2^31 - 1, so only its low
// fifteen bits are taken.
float randomFraction();

} // namespace platform
