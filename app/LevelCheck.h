// What ombrelix --check-level tells a level's maker, without a window or GL: the objects by
// kind, the targets, what touches or lies near the start at once, what lies out of reason, and
// whether the game would play the level at all.
#pragma once

#include <string>

class LevelCheck {
public:
    // Objects nearer the ship's start than this are listed (world units).
    static constexpr double kNearStart = 500.0;
    // A coordinate beyond this is listed as huge (world units): nothing flies that far, and
    // floats out there step by a sixteenth of a unit and more.
    static constexpr double kHugeCoordinate = 1.0e6;
    // Names listed per finding; the rest are counted.
    static constexpr int kNamesShown = 20;

    // Looks at the level file and writes the report into text. True when the game would load
    // the level, false when it would refuse it or stop at it: unreadable, not well-formed, over
    // the object limit, or naming a type that is no kind of object.
    static bool check(const std::string& path, std::string& text);
};
