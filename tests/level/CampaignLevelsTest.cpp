// Every level the game ships, the campaign's and the runner's own, loaded from the run
// directory: what its design promises, and that a pilot with nothing but the ship's controls
// wins it.
#include "app/LevelCheck.h"
#include "game/EnemyFighter.h"
#include "game/PlayerShip.h"
#include "game/Projectile.h"
#include "level/CampaignReader.h"
#include "level/Trigger.h"
#include "tests/level/LevelFileTest.h"

#include <cmath>
#include <cstdio>

using leveltest::LevelFileTest;

namespace {

const double kDt = 0.05;        // seconds per frame, as the runner's --dt 0.05
const long kFrameBudget = 4000; // 200 seconds of play; the slowest level takes about half
const double kPi = 3.14159265358979323846;

struct Vec {
    double x, y, z;
    Vec operator-(Vec b) const { return {x - b.x, y - b.y, z - b.z}; }
    Vec operator+(Vec b) const { return {x + b.x, y + b.y, z + b.z}; }
    Vec operator*(double k) const { return {x * k, y * k, z * k}; }
    double dot(Vec b) const { return x * b.x + y * b.y + z * b.z; }
    double length() const { return std::sqrt(dot(*this)); }
    // An element's position, or one of its axes (&Element3D::getView, ...).
    static Vec of(const Element3D& e, float (Element3D::*get)(int) const = &Element3D::getPos) {
        return {(e.*get)(0), (e.*get)(1), (e.*get)(2)};
    }
};

// Flies as a player at the keys would: fighters picked off first, nearest first, from just beyond
// the distance at which they wake (awake, they outgun a ship that flies straight); then on to the
// level's target, braking short of it, rocks in the way flown round, firing when aimed.
class Autopilot {
public:
    static constexpr double kStandOff = 1400.0; // from a fighter: beyond its 1000 to wake
    static constexpr double kTargetStop = 400.0;
    static constexpr double kFireAngle = 3.0; // degrees
    static constexpr double kFireReach = 1700.0;
    static constexpr double kThrustAngle = 30.0; // degrees off the nose that still fly on
    static constexpr double kShotSpeedBonus = 50.0;
    static constexpr double kLookAhead = 30.0; // time units ahead that things in the way are seen
    static constexpr double kMargin = 25.0;    // passed this much clear of them

    explicit Autopilot(PlayerShip& ship) : ship(ship) {}

    void fly(const std::vector<EnemyFighter*>& fighters, const std::vector<Object3D*>& things,
             const Element3D& target) {
        const Element3D* mark = &target;
        double nearest = 1e30;
        for (EnemyFighter* fighter : fighters) {
            const double distance = (Vec::of(*fighter) - Vec::of(ship)).length();
            if (distance < nearest) {
                nearest = distance;
                mark = fighter;
            }
        }
        const double stop = mark == &target ? kTargetStop : kStandOff;
        steer(avoid(lead(*mark), things, *mark), stop);
    }

private:
    // The way to the mark, bent round the nearest thing ahead that the ship would soon brush:
    // aimed past its far side. A ship standing still shoots its way through instead.
    Vec avoid(Vec way, const std::vector<Object3D*>& things, const Element3D& mark) const {
        const Vec view = Vec::of(ship, &Element3D::getView);
        double nearest = ship.getSpeed() * kLookAhead;
        for (Object3D* thing : things) {
            const Vec d = Vec::of(*thing) - Vec::of(ship);
            const double ahead = d.dot(view);
            const Vec side = d - view * ahead;
            const double clearance = ship.getRadius() + thing->getRadius() + kMargin;
            const bool shot = dynamic_cast<Projectile*>(thing) != nullptr;
            if (!thing->isActive() || shot || ahead <= 0.0 || ahead >= nearest ||
                side.length() >= clearance || (Vec::of(*thing) - Vec::of(mark)).length() < 1.0) {
                continue;
            }
            nearest = ahead;
            const Vec away = side.length() > 1e-3 ? side * (-1.0 / side.length())
                                                  : Vec::of(ship, &Element3D::getUp);
            way = view * ahead + away * (2.0 * clearance);
        }
        return way;
    }

    // Where a shot meets a moving mark: ahead of it by the shot's flight time.
    Vec lead(const Element3D& mark) const {
        const Vec d = Vec::of(mark) - Vec::of(ship);
        const double flight = d.length() / (ship.getSpeed() + kShotSpeedBonus);
        return d + Vec::of(mark, &Element3D::getView) * (mark.getSpeed() * flight);
    }

    void steer(Vec d, double stop) {
        const double x = d.dot(Vec::of(ship, &Element3D::getRight));
        const double y = d.dot(Vec::of(ship, &Element3D::getUp));
        const double z = d.dot(Vec::of(ship, &Element3D::getView));
        const double distance = d.length();
        const double off = std::acos(std::fmax(-1.0, std::fmin(1.0, z / distance))) * 180.0 / kPi;
        const double yawOff = std::atan2(x, z) * 180.0 / kPi;
        const double pitchOff = std::atan2(y, z) * 180.0 / kPi;
        const double step = ship.getTurnRate();
        const bool yaw = std::fabs(yawOff) > step || (off > 90.0 && yawOff != 0.0);
        const bool pitch = std::fabs(pitchOff) > step;
        if (yaw) {
            ship.setYawInput(yawOff > 0.0 ? -1 : +1); // F turns right, S left
        }
        if (pitch) {
            ship.setPitchInput(pitchOff > 0.0 ? +1 : -1); // D raises the nose, E lowers it
        }
        if (yaw || pitch) {
            ship.rampTurnRate(kDt);
        } else {
            ship.resetTurnRate();
        }
        // Full ahead, then in gently (the last 200 at a crawl), and no nearer than the stop.
        if (distance < stop || (distance < stop + 200.0 && ship.getSpeed() > 2.0)) {
            ship.setThrust(-1);
        } else if (off < kThrustAngle && distance > stop + 200.0) {
            ship.setThrust(+1);
        }
        if (off < kFireAngle && distance < kFireReach) {
            ship.fire();
        }
    }

    PlayerShip& ship;
};

// The level files the game ships: the runner's own, then the campaign's in order.
std::vector<std::string> shippedLevels() {
    std::vector<std::string> files = {"data/levels/level.xml"};
    CampaignReader campaign;
    EXPECT_TRUE(campaign.read("data/levels/campaign.xml")) << campaign.error();
    for (const CampaignReader::Level& level : campaign.levels()) {
        files.push_back(level.file);
    }
    return files;
}

class ShippedLevelsTest : public LevelFileTest {
protected:
    // The element whose death ends the level; fails unless there is exactly one.
    Element3D* theTarget() {
        std::vector<Element3D*> targets;
        for (Object3D* element : all()) {
            EXPECT_EQ(element->getProximityTrigger(), nullptr) << element->getObjId();
            const Trigger* trigger = element->getDeathTrigger();
            if (trigger != nullptr && trigger->getEvent() == kTriggerEventEndLevel) {
                targets.push_back(element);
            }
        }
        EXPECT_EQ(targets.size(), 1u) << "targets";
        return targets.empty() ? nullptr : targets.front();
    }

    // Plays frames as the game does (the world, then the ship, then the keys) until the level
    // ends, the ship is lost or the budget runs out; gives the frames played.
    long flyToTheEnd(const Element3D& target) {
        EnemyFighter::resetSharedState();
        PlayerShip ship(world, nullptr);
        Autopilot pilot(ship);
        long frame = 0;
        for (; frame < kFrameBudget; ++frame) {
            world->update(kDt);
            ship.update(kDt * 20.0);
            // The target is gone with the level's end: the keys come only while it is on.
            if (world->bLevelEnded || ship.getHealth() <= 0.0f) {
                ++frame;
                break;
            }
            pilot.fly(all<EnemyFighter>(), all(), target);
        }
        EXPECT_GT(ship.getHealth(), 0.0f) << "the ship was lost at frame " << frame;
        shipHealth = ship.getHealth();
        return frame;
    }

    float shipHealth = 0.0f;
};

TEST_F(ShippedLevelsTest, EachLoadsCleanlyLeavesRoomAtTheStartAndIsWonByTheAutopilot) {
    for (const std::string& file : shippedLevels()) {
        SCOPED_TRACE(file);
        // The level maker's report: one target, nothing touching or near the ship at the start.
        std::string report;
        EXPECT_TRUE(LevelCheck::check(file, report));
        for (const char* promise :
             {"targets (their destruction ends the level): 1\n", "pairs touching at the start: 0\n",
              "objects within 500 of the start: 0\n"}) {
            EXPECT_NE(report.find(promise), std::string::npos) << report;
        }
        delete world; // a fresh world for each level
        world = ElementContainer::getInstance();
        ASSERT_TRUE(loadFile(file)) << log;
        for (const std::string& line : loaderLines()) {
            EXPECT_TRUE(line.find(' ') == std::string::npos || line == "Iterating level Elements")
                << "a complaint: " << line;
        }
        EXPECT_EQ(log.find("setTrigger"), std::string::npos) << log;

        Element3D* target = theTarget();
        ASSERT_NE(target, nullptr);
        const int fighters = count<EnemyFighter>();
        const long frames = flyToTheEnd(*target);
        EXPECT_TRUE(world->bLevelEnded) << "not won within " << kFrameBudget << " frames";
        // The cap on live effects guards hostile levels; play as it is meant never meets it.
        EXPECT_LT(world->mostLiveEffects(), kMaxLiveEffects);
        std::printf("%s: %d fighters, won in %ld frames with %.0f health left, at most %d smoke "
                    "puffs and explosions alive at once\n",
                    file.c_str(), fighters, frames, shipHealth, world->mostLiveEffects());
    }
}

} // namespace
