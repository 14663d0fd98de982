// scene_pilot: flies the timedemo's scenes through the shipped level as a player would, choosing
// its keys each frame from what lies ahead, and writes them as the headless runner's scripts.
// The runner replays a script frame for frame (the same level, seed and time step give the same
// flight), so the scenes are kept as scripts in bench/scenes/ and this program only remakes them
// when the level or the game's rules change.
// Usage: scene_pilot OUTPUT_FOLDER   (from the run directory, which holds data/)
#include "app/Game.h"
#include "game/EnemyFighter.h"
#include "game/Projectile.h"
#include "platform/Clock.h"
#include "platform/HeadlessWindow.h"
#include "platform/Messages.h"
#include "platform/Platform.h"
#include "world/ElementContainer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

const unsigned long kSeed = 1;
const double kPi = 3.14159265358979323846;

// A scene: its file, what it shows, its time step and length, and the pilot's plan.
enum class Plan { StandStill, FlyTheLine, Fight, Replay };
struct Scene {
    const char* file;
    const char* description;
    double frameSeconds;
    long frames;
    Plan plan;
};
const Scene kScenes[] = {
    {"start.script", "the ship still at the start, the whole level ahead: 10 s of game time", 0.025,
     400, Plan::StandStill},
    {"run.script",
     "along the level's line at a player's pace, bursts of thrust, small corrections and shots, "
     "through both asteroid fields and into the fight: 35 s",
     0.05, 700, Plan::FlyTheLine},
    {"battle.script",
     "to the first asteroid belt, where the fighters come: shields hit and broken, smoke and "
     "explosions in view: 30 s",
     0.05, 600, Plan::Fight},
};

// The ship's speeds the pilot keeps, in world units per time unit (the ship's top is 10): a
// cruise that changes every kPaceFrames, slower at the fight, fast when veering off.
const double kPaces[] = {10.0, 9.0, 10.0, 10.0, 8.0, 10.0};
const long kPaceFrames = 120;
const double kFightSpeed = 6.0;
const double kEvadeSpeed = 9.0;
// A fighter pointing at the ship within this angle and range is about to fire at it.
const double kDangerAngle = 10.0; // degrees
const float kDangerRange = 1100.0f;
// Nearer than this, a fighter or a rock is about to be rammed (world units).
const float kRamDistance = 200.0f;
// How sharply the pilot veers off from something about to be rammed (the tangent of the turn).
const float kVeer = 0.8f;
// Weaving about the line: how far to the side at kLookAhead (world units) and how often.
const float kWeave = 190.0f;
const double kWeaveFrames = 80.0;
// How far ahead along the level's line the pilot looks, and how close to it a rock or a bonus
// item must lie to be shot out of the way (world units).
const float kLookAhead = 700.0f;
const float kRockClearance = 70.0f;
const float kRockShootRange = 1500.0f;
// Where the fight waits: just short of the first belt, near enough to wake the fighters.
const float kFightStationZ = -1060.0f;
// Aim: turn while the target is more than this off the view, fire within the second angle.
const double kTurnAngle = 1.5; // degrees
const double kFireAngle = 4.0;
// Half the view's angles (degrees): 45 high at 4:3.
const double kHalfViewHeight = 22.5;
const double kHalfViewWidth = 29.0;

struct Point {
    float p[3] = {0.0f, 0.0f, 0.0f};
};

Point positionOf(const Element3D& element) {
    return {{element.getPos(0), element.getPos(1), element.getPos(2)}};
}

// What a player looks at: the level's objects, not shots, effects or the sky.
bool isScenery(const Object3D& element) {
    return !element.getModelFile().empty() && element.getHealth() > 0.0f &&
           dynamic_cast<const Projectile*>(&element) == nullptr;
}

struct Aim {
    double right = 0.0; // degrees to the right of the view
    double up = 0.0;    // degrees above it
    float distance = 0.0f;
    bool ahead = false;
};

Aim aimAt(const Element3D& ship, const float* point) {
    float d[3];
    for (int i = 0; i < 3; ++i) {
        d[i] = point[i] - ship.getPos(i);
    }
    double x = 0.0, y = 0.0, z = 0.0;
    for (int i = 0; i < 3; ++i) {
        x += d[i] * ship.getRight(i);
        y += d[i] * ship.getUp(i);
        z += d[i] * ship.getView(i);
    }
    Aim aim;
    aim.right = std::atan2(x, z) * 180.0 / kPi;
    aim.up = std::atan2(y, z) * 180.0 / kPi;
    aim.distance = static_cast<float>(std::sqrt(x * x + y * y + z * z));
    aim.ahead = z > 0.0;
    return aim;
}

// The window the game plays in, with a pilot at its keys who writes down what it presses.
class PilotWindow : public platform::HeadlessWindow {
public:
    PilotWindow(platform::Clock& clock, const Options& options, Plan plan)
        : HeadlessWindow(clock, options), plan(plan) {}

    const std::vector<std::string>& lines() const { return recorded; }

    // What the flight came to, as of the last frame decided.
    struct Outcome {
        float health = 0.0f;
        float x = 0.0f;
        float y = 0.0f;
        float z = 0.0f;
        int fightersLeft = 0;
        int shieldsBroken = 0;
        unsigned long explosions = 0;
        unsigned long shots = 0;
        long framesWithNothingInView = 0;
        long longestEmptyStretch = 0; // frames in a row with nothing in view
    };
    const Outcome& outcome() const { return seen; }

protected:
    void pumpEvents() override {
        if (framesDrawn() != decided && ElementContainer::getInstance()->getPlayer() != nullptr) {
            decided = framesDrawn();
            ElementContainer& world = *ElementContainer::getInstance();
            look(world, *world.getPlayer());
            fly(world, *world.getPlayer());
        }
        HeadlessWindow::pumpEvents();
    }

private:
    void look(ElementContainer& world, const Element3D& ship) {
        seen.health = ship.getHealth();
        seen.x = ship.getPos(0);
        seen.y = ship.getPos(1);
        seen.z = ship.getPos(2);
        seen.fightersLeft = 0;
        int inView = 0;
        for (auto& element : world) {
            const Aim aim = aimAt(ship, positionOf(*element).p);
            const bool solid = isScenery(*element);
            inView += solid && aim.ahead && std::fabs(aim.right) < kHalfViewWidth &&
                              std::fabs(aim.up) < kHalfViewHeight
                          ? 1
                          : 0;
            if (dynamic_cast<EnemyFighter*>(element.get()) != nullptr &&
                element->getHealth() > 0.0f) {
                ++seen.fightersLeft;
                bool& shielded = shields[element.get()];
                const bool now = element->getShield() != nullptr;
                seen.shieldsBroken += shielded && !now ? 1 : 0;
                shielded = now;
            }
        }
        emptyStretch = inView == 0 ? emptyStretch + 1 : 0;
        seen.framesWithNothingInView += inView == 0 ? 1 : 0;
        seen.longestEmptyStretch = std::max(seen.longestEmptyStretch, emptyStretch);
        seen.explosions = world.createdByKind[kKindExplosion];
        seen.shots = world.createdByKind[kKindLaserProjectile];
    }

    void fly(ElementContainer& world, const Element3D& ship) {
        if (plan == Plan::StandStill || plan == Plan::Replay || ship.getHealth() <= 0.0f ||
            world.bLevelEnded) {
            return;
        }
        // Along the line the pilot weaves, as a player does who would rather not be an easy
        // target for the fighters behind.
        const double phase = 2.0 * kPi * static_cast<double>(framesDrawn()) / kWeaveFrames;
        const float weave = plan == Plan::FlyTheLine ? kWeave : 0.0f;
        Point station{{weave * static_cast<float>(std::sin(phase)),
                       weave * static_cast<float>(std::cos(1.3 * phase)),
                       ship.getPos(2) - kLookAhead}};
        if (plan == Plan::Fight && ship.getPos(2) > kFightStationZ) {
            station.p[2] = kFightStationZ;
        }
        // Something ahead about to be rammed: veer off to the side away from it, fast.
        const std::optional<Point> obstacle = obstacleNear(world, ship);
        if (obstacle) {
            float toward[3];
            float along = 0.0f;
            for (int i = 0; i < 3; ++i) {
                toward[i] = obstacle->p[i] - ship.getPos(i);
                along += toward[i] * ship.getView(i);
            }
            float side[3];
            float sideLength = 0.0f;
            for (int i = 0; i < 3; ++i) {
                side[i] = toward[i] - along * ship.getView(i);
                sideLength += side[i] * side[i];
            }
            sideLength = std::sqrt(sideLength);
            Point veer = positionOf(ship);
            for (int i = 0; i < 3; ++i) {
                const float off = sideLength > 0.0f ? side[i] / sideLength : ship.getRight(i);
                veer.p[i] += kLookAhead * (ship.getView(i) - kVeer * off);
            }
            steer(aimAt(ship, veer.p));
            keepSpeed(ship, kEvadeSpeed);
            return;
        }
        // At the fight: the fighter that lines up on the ship, else the nearest one. On the run
        // the pilot outruns the fighters and only shoots what lies in its way.
        std::optional<Point> target;
        if (plan == Plan::Fight) {
            target = attackerOf(world, ship);
            if (!target) {
                target = nearestFighter(world, ship);
            }
        } else {
            target = inTheWay(world, ship);
        }
        const bool fighting = target.has_value();
        const Aim aim = aimAt(ship, fighting ? target->p : station.p);
        steer(aim);
        if (fighting && aim.ahead && std::fabs(aim.right) < kFireAngle &&
            std::fabs(aim.up) < kFireAngle) {
            tap("U");
        }
        const bool atStation = plan == Plan::Fight && ship.getPos(2) <= kFightStationZ;
        keepSpeed(ship, atStation ? kFightSpeed : pace());
    }

    // The cruising speed changes every so often, as a player's does.
    double pace() const {
        const long stretch = framesDrawn() / kPaceFrames;
        return kPaces[static_cast<std::size_t>(stretch) % (sizeof kPaces / sizeof kPaces[0])];
    }

    // The nearest fighter or rock ahead close enough to ram, if any.
    static std::optional<Point> obstacleNear(ElementContainer& world, const Element3D& ship) {
        std::optional<Point> obstacle;
        float best = kRamDistance;
        for (auto& element : world) {
            if (!isScenery(*element)) {
                continue;
            }
            const Aim aim = aimAt(ship, positionOf(*element).p);
            if (aim.ahead && aim.distance < best) {
                obstacle = positionOf(*element);
                best = aim.distance;
            }
        }
        return obstacle;
    }

    // The nearest fighter that points at the ship from within firing range, if any.
    static std::optional<Point> attackerOf(ElementContainer& world, const Element3D& ship) {
        std::optional<Point> attacker;
        float best = 0.0f;
        for (auto& element : world) {
            if (dynamic_cast<EnemyFighter*>(element.get()) == nullptr ||
                element->getHealth() <= 0.0f) {
                continue;
            }
            const Aim fromFighter = aimAt(*element, positionOf(ship).p);
            const bool pointing = fromFighter.ahead &&
                                  std::fabs(fromFighter.right) < kDangerAngle &&
                                  std::fabs(fromFighter.up) < kDangerAngle;
            if (pointing && fromFighter.distance < kDangerRange &&
                (!attacker || fromFighter.distance < best)) {
                attacker = positionOf(*element);
                best = fromFighter.distance;
            }
        }
        return attacker;
    }

    // The nearest fighter still flying, if any.
    static std::optional<Point> nearestFighter(ElementContainer& world, const Element3D& ship) {
        std::optional<Point> nearest;
        float best = 0.0f;
        for (auto& element : world) {
            if (dynamic_cast<EnemyFighter*>(element.get()) == nullptr ||
                element->getHealth() <= 0.0f) {
                continue;
            }
            const Point p = positionOf(*element);
            const float d = aimAt(ship, p.p).distance;
            if (!nearest || d < best) {
                nearest = p;
                best = d;
            }
        }
        return nearest;
    }

    // On the line: the nearest thing in the way, to be shot.
    static std::optional<Point> inTheWay(ElementContainer& world, const Element3D& ship) {
        std::optional<Point> nearest;
        float best = 0.0f;
        for (auto& element : world) {
            if (!isScenery(*element) || dynamic_cast<EnemyFighter*>(element.get()) != nullptr) {
                continue;
            }
            const Point p = positionOf(*element);
            const Aim aim = aimAt(ship, p.p);
            const float offLine = std::sqrt(p.p[0] * p.p[0] + p.p[1] * p.p[1]);
            const bool blocking = offLine < kRockClearance && aim.ahead &&
                                  p.p[2] < ship.getPos(2) && aim.distance < kRockShootRange;
            if (blocking && (!nearest || aim.distance < best)) {
                nearest = p;
                best = aim.distance;
            }
        }
        return nearest;
    }

    void steer(const Aim& aim) {
        // Behind: turn the short way round, sideways first.
        const double right = aim.ahead ? aim.right : (aim.right >= 0.0 ? 90.0 : -90.0);
        hold("F", right > kTurnAngle);
        hold("S", right < -kTurnAngle);
        hold("D", aim.up > kTurnAngle);
        hold("E", aim.up < -kTurnAngle);
    }

    // Thrust or brake toward the speed, in bursts: a player does not hold the keys for good.
    void keepSpeed(const Element3D& ship, double speed) {
        hold("I", ship.getSpeed() < speed - 0.5);
        hold("K", ship.getSpeed() > speed + 0.5);
    }

    void hold(const std::string& key, bool down) {
        bool& held = keys[key];
        if (held != down) {
            held = down;
            press(key, down);
        }
    }

    // One shot: down this frame, up the next.
    void tap(const std::string& key) {
        if (!keys[key]) {
            press(key, true);
            keys[key] = true;
        } else {
            press(key, false);
            keys[key] = false;
        }
    }

    void press(const std::string& key, bool down) {
        platform::WindowScript::Event event;
        event.frame = framesDrawn();
        event.action =
            down ? platform::WindowScript::Action::KeyDown : platform::WindowScript::Action::KeyUp;
        event.key = platform::virtualKeyFromName(key.c_str());
        post(event);
        recorded.push_back(std::to_string(event.frame) + (down ? " down " : " up ") + key);
    }

    Plan plan;
    long decided = -1;
    std::map<std::string, bool> keys;
    std::vector<std::string> recorded;
    std::map<const Object3D*, bool> shields;
    Outcome seen;
    long emptyStretch = 0;
};

// Plays the scene with the pilot, or (Replay) with the script alone, and tells how it ended.
PilotWindow::Outcome play(const Scene& scene, Plan plan, const platform::WindowScript& script,
                          std::vector<std::string>& lines) {
    platform::Clock clock = platform::Clock::makeVirtual();
    platform::fixCurrentTime(static_cast<std::time_t>(kSeed));
    platform::setDebugLog("");
    platform::HeadlessWindow::Options options;
    options.frameLimit = scene.frames;
    options.frameSeconds = scene.frameSeconds;
    options.script = script.events();
    PilotWindow window(clock, options, plan);
    WinMain(window, clock, LaunchOptions());
    lines = window.lines();
    return window.outcome();
}

bool sameEnd(const PilotWindow::Outcome& a, const PilotWindow::Outcome& b) {
    return a.health == b.health && a.x == b.x && a.y == b.y && a.z == b.z &&
           a.fightersLeft == b.fightersLeft && a.shieldsBroken == b.shieldsBroken &&
           a.explosions == b.explosions && a.shots == b.shots;
}

// Flies the scene, writes its script, and plays the script back: the same flight must follow.
bool writeScene(const Scene& scene, const std::string& folder) {
    std::vector<std::string> lines;
    const PilotWindow::Outcome end = play(scene, scene.plan, platform::WindowScript(), lines);

    const std::string path = folder + "/" + scene.file;
    std::FILE* out = std::fopen(path.c_str(), "w");
    if (out == nullptr) {
        std::fprintf(stderr, "scene_pilot: cannot write %s\n", path.c_str());
        return false;
    }
    std::fprintf(out, "# %s\n# Written by bench/scene_pilot: %s.\n", scene.file, scene.description);
    std::fprintf(out, "# scene --dt %g --frames %ld --seed %lu\n", scene.frameSeconds, scene.frames,
                 kSeed);
    for (const std::string& line : lines) {
        std::fprintf(out, "%s\n", line.c_str());
    }
    std::fclose(out);
    std::printf("%s: %zu key events in %ld frames; at the end the ship has %.0f health at z %.0f, "
                "%d fighters left; %d shields broken, %lu shots, %lu explosions; nothing in view "
                "in %ld frames, at most %ld in a row\n",
                path.c_str(), lines.size(), scene.frames, end.health, end.z, end.fightersLeft,
                end.shieldsBroken, end.shots, end.explosions, end.framesWithNothingInView,
                end.longestEmptyStretch);

    platform::WindowScript script;
    if (!script.load(path)) {
        std::fprintf(stderr, "scene_pilot: %s: %s\n", path.c_str(), script.error().c_str());
        return false;
    }
    std::vector<std::string> none;
    if (!sameEnd(play(scene, Plan::Replay, script, none), end)) {
        std::fprintf(stderr, "scene_pilot: %s played back ends elsewhere\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: scene_pilot OUTPUT_FOLDER\n");
        return 2;
    }
    bool ok = true;
    for (const Scene& scene : kScenes) {
        if (argc > 2 && argv[2] != std::string(scene.file)) {
            continue;
        }
        ok = writeScene(scene, argv[1]) && ok;
    }
    return ok ? 0 : 1;
}
