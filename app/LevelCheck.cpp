// The level check: the level reader with a recording builder, and each object weighed as the
// world would make it at the start (its kind's radius, whether it collides).
#include "app/LevelCheck.h"

#include "game/Asteroid.h"
#include "game/EnemyFighter.h"
#include "game/Knacker.h"
#include "level/LevelReader.h"
#include "level/LevelRecorder.h"
#include "platform/Files.h"
#include "world/BroadPhase.h"
#include "world/ElementContainer.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

namespace {

using Object = LevelBuilder::Object;

// How an object of a kind meets others at the start: a fighter through its shield, as big as
// itself; the sky not at all.
bool collidesAtStart(int kind) {
    return kind != kKindOuterSpace;
}

float startRadius(int kind) {
    switch (kind) {
    case kKindFighter:
        return EnemyFighter::kRadius;
    case kKindAsteroid:
        return Asteroid::kRadius;
    case kKindKnacker:
        return Knacker::kRadius;
    default:
        return Element3D::kStartRadius;
    }
}

bool isTarget(const Object& object) {
    for (const Trigger& trigger : object.triggers) {
        if (trigger.getCause() == kTriggerCauseDeath &&
            trigger.getEvent() == kTriggerEventEndLevel) {
            return true;
        }
    }
    return false;
}

// What one finding holds: how many, and the first kNamesShown names (a crowd at one point
// touches in millions of pairs).
struct Finding {
    std::size_t count = 0;
    std::vector<std::string> names;

    void add(const std::string& name) {
        if (count++ < static_cast<std::size_t>(LevelCheck::kNamesShown)) {
            names.push_back(name);
        }
    }
};

// A heading with its count, then the names on one line and how many more.
void list(std::string& text, const std::string& heading, const Finding& finding) {
    text += heading + ": " + std::to_string(finding.count) + "\n";
    if (finding.count == 0) {
        return;
    }
    std::string line = " ";
    for (const std::string& name : finding.names) {
        line += " " + name;
    }
    if (finding.count > finding.names.size()) {
        line += " and " + std::to_string(finding.count - finding.names.size()) + " more";
    }
    text += line + "\n";
}

std::string formatted(const char* format, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

} // namespace

bool LevelCheck::check(const std::string& path, std::string& text) {
    std::string bytes;
    std::string why;
    if (!platform::readFile(path, platform::kDocumentFileLimit, bytes, why)) {
        text = path + ": cannot read the level file: " + why + "\n";
        return false;
    }
    LevelRecorder recorder;
    LevelReader reader(recorder, LevelReader::Log::Quiet);
    const bool read = reader.readBytes(bytes.data(), bytes.size(), path.c_str());
    if (reader.overLimit()) {
        text = path + ": " + reader.limitExceeded() + ": refused\n";
        return false;
    }
    bool loads = read && reader.errorCount() == 0;
    text = path + ": " + std::to_string(recorder.objects().size()) + " objects, within the " +
           std::to_string(LevelReader::kMaxObjects) + " a level may hold";
    for (const LevelReader::KindLimit& limit : LevelReader::kKindLimits) {
        text += std::string(", ") + std::to_string(limit.most) + " of type " + limit.type;
    }
    text += "\n";
    if (!loads) {
        text += reader.firstError().empty() ? "not a level: no document\n"
                                            : "not well-formed: " + reader.firstError() + "\n";
    }

    const std::vector<Object>& objects = recorder.objects();
    std::map<std::string, int> byType;
    Finding targets;
    Finding nearStart;
    Finding outOfReason;
    for (const Object& object : objects) {
        ++byType[object.type];
        const int kind = ElementContainer::kindOf(object.type);
        if (kind == kKindNotFound || kind == kKindWurstSemmel) {
            if (loads) {
                text += object.objId + ": type \"" + object.type +
                        "\" is no kind of object: the game ends loading there\n";
            }
            loads = false;
        }
        if (isTarget(object)) {
            targets.add(object.objId);
        }
        bool finite = true;
        bool huge = false;
        double distanceSquared = 0.0;
        for (float coordinate : object.pos) {
            finite = finite && std::isfinite(coordinate);
            huge = huge || std::fabs(coordinate) > kHugeCoordinate;
            distanceSquared += static_cast<double>(coordinate) * coordinate;
        }
        if (!finite || huge) {
            outOfReason.add(object.objId);
        } else if (distanceSquared <= kNearStart * kNearStart) {
            nearStart.add(object.objId);
        }
    }
    for (const auto& [type, count] : byType) {
        text += "  " + type + " " + std::to_string(count) + "\n";
    }

    // Every pair, as the collision pass's oracle does: the level is within the limit here.
    std::vector<std::size_t> colliding;
    std::vector<float> radii;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const int kind = ElementContainer::kindOf(objects[i].type);
        if (collidesAtStart(kind)) {
            colliding.push_back(i);
            radii.push_back(startRadius(kind));
        }
    }
    Finding touching;
    for (std::size_t a = 0; a < colliding.size(); ++a) {
        for (std::size_t b = a + 1; b < colliding.size(); ++b) {
            const Object& first = objects[colliding[a]];
            const Object& second = objects[colliding[b]];
            if (BroadPhase::touches(first.pos, radii[a], second.pos, radii[b])) {
                touching.add(first.objId + "+" + second.objId);
            }
        }
    }
    list(text, "targets (their destruction ends the level)", targets);
    list(text, "pairs touching at the start", touching);
    list(text, "objects within " + formatted("%g", kNearStart) + " of the start", nearStart);
    list(text, "objects with coordinates not finite or beyond " + formatted("%g", kHugeCoordinate),
         outOfReason);
    text += loads ? "the game plays it\n" : "the game would not play it\n";
    return loads;
}
