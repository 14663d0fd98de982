// The element container: creation by kind, the per-frame update and collision passes,
// deletion of the dead and the two-stage draw.
#include "world/ElementContainer.h"

#include "game/Asteroid.h"
#include "game/Bonus.h"
#include "game/EnemyFighter.h"
#include "game/Explosion.h"
#include "game/Fugenmasse.h"
#include "game/Knacker.h"
#include "game/OuterSpace.h"
#include "game/Shield.h"
#include "game/SmokeCloud.h"
#include "game/SpaceDust.h"
#include "game/Wurst.h"
#include "platform/Platform.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <map>

namespace {

ElementContainer* instance = nullptr;

const double kTimeUnitsPerSecond = 20.0;
const float kCollisionDamage = 40.0f;
const double kCollisionSpeedFactor = -1.0;

// Elements of the kinds that come and go in a fight, made room for at the start.
const std::size_t kReservedSmoke = 512;
const std::size_t kReservedExplosions = 64;
const std::size_t kReservedShots = 32;
const std::size_t kReservedShields = 16;

bool isEffect(int kind) {
    return kind == kKindSmokeCloud || kind == kKindExplosion;
}

} // namespace

namespace {

double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

} // namespace

ElementContainer::TimedPhase::TimedPhase(double& total)
    : pTotal(&total), dStart(threadCpuSeconds()) {}

ElementContainer::TimedPhase::~TimedPhase() {
    *pTotal += threadCpuSeconds() - dStart;
}

ElementContainer* ElementContainer::getInstance() {
    if (instance == nullptr) {
        instance = new ElementContainer();
    }
    return instance;
}

ElementContainer::ElementContainer() {
    // Room made at once for the shots, smoke and explosions of a lively fight, so that they
    // cost the heap nothing while it lasts.
    pool.reserve<SmokeCloud>(kReservedSmoke);
    pool.reserve<Explosion>(kReservedExplosions);
    pool.reserve<Fugenmasse>(kReservedShots);
    pool.reserve<Wurst>(kReservedShots);
    pool.reserve<Shield>(kReservedShields);
    const std::size_t reserved =
        kReservedSmoke + kReservedExplosions + 2 * kReservedShots + kReservedShields;
    spareEntries.resize(reserved);
    deferred.reserve(reserved); // smoke and explosions are drawn sorted
}

ElementContainer::~ElementContainer() {
    // Elements first: they still point into the model records.
    clear();
    modelCache.clear();
    if (instance == this) {
        instance = nullptr;
    }
}

void ElementContainer::setLevelEnded() {
    if (!bLevelEnded) {
        pSound->playFlat(Sound::LevelComplete);
    }
    bLevelEnded = true;
}

int ElementContainer::kindOf(const std::string& typeName) {
    static const std::map<std::string, int> kindNames{
        {"OBJ3D_NOTFOUND", kKindNotFound},       {"OBJ3D_OUTERSPACE", kKindOuterSpace},
        {"OBJ3D_FIGHTER", kKindFighter},         {"OBJ3D_BONUS", kKindBonus},
        {"OBJ3D_ASTEROID", kKindAsteroid},       {"OBJ3D_LASERPROJECTILE", kKindLaserProjectile},
        {"OBJ3D_WURSTSEMMEL", kKindWurstSemmel}, {"OBJ3D_SHIELD", kKindShield},
        {"OBJ3D_KNACKER", kKindKnacker}};
    auto found = kindNames.find(typeName);
    return found == kindNames.end() ? kKindNotFound : found->second;
}

const std::string& ElementContainer::modelFileName(const char* name) {
    auto found = modelFileNames.find(name);
    return found != modelFileNames.end() ? *found : *modelFileNames.emplace(name).first;
}

std::unique_ptr<Object3D> ElementContainer::createElement(int kind) {
    switch (kind) {
    case kKindOuterSpace:
        return pool.make<OuterSpace>(this);
    case kKindFighter:
        return pool.make<EnemyFighter>(this, "data/model/semmel.ms3d");
    case kKindBonus:
        return pool.make<Bonus>(this, "data/model/bonus2.ms3d");
    case kKindAsteroid:
        return pool.make<Asteroid>(this, "data/model/asteroid.ms3d");
    case kKindLaserProjectile:
        return pool.make<Fugenmasse>(this, "./data/model/fugenmasse.ms3d");
    case kKindShield:
        return pool.make<Shield>(this);
    case kKindSmokeCloud:
        return pool.make<SmokeCloud>(this);
    case kKindSpaceDust:
        return pool.make<SpaceDust>(this, pPlayer);
    case kKindExplosion:
        return pool.make<Explosion>(this);
    case kKindWurst:
        return pool.make<Wurst>(this, "./data/model/wurst.ms3d");
    case kKindKnacker:
        return pool.make<Knacker>(this, "data/model/knacker.ms3d");
    default:
        return nullptr;
    }
}

Object3D* ElementContainer::addElement(int kind) {
    if (isEffect(kind) && iLiveEffects >= kMaxLiveEffects) {
        return nullptr;
    }
    std::unique_ptr<Object3D> element = createElement(kind);
    if (!element) {
        platform::debugOutput("ElementContainer::addElement(): Unknown Element\n");
        platform::exitProcess(1);
    }
    element->setKind(kind);
    iLiveEffects += isEffect(kind) ? 1 : 0;
    iMostLiveEffects = std::max(iMostLiveEffects, iLiveEffects);
    // Shields and effects go behind every solid object, so they are drawn and collided last.
    const bool atBack = kind == kKindShield || isEffect(kind) || kind == kKindSpaceDust;
    ++createdByKind[kind];
    return file(std::move(element), atBack);
}

Object3D* ElementContainer::file(std::unique_ptr<Object3D> element, bool atBack) {
    Object3D* filed = element.get();
    if (spareEntries.empty()) {
        spareEntries.emplace_back();
    }
    // An entry of the list that a dead element left, moved (not copied) into place.
    spareEntries.front() = std::move(element);
    elements.splice(atBack ? elements.end() : elements.begin(), spareEntries, spareEntries.begin());
    return filed;
}

ElementContainer::ElementList::iterator ElementContainer::erase(ElementList::iterator element) {
    iLiveEffects -= isEffect((*element)->getKind()) ? 1 : 0;
    // The element's memory and its list entry are kept for the next ones made.
    const auto next = std::next(element);
    pool.recycle(std::move(*element));
    spareEntries.splice(spareEntries.end(), elements, element);
    return next;
}

void ElementContainer::clear() {
    while (!elements.empty()) {
        erase(elements.begin());
    }
}

void ElementContainer::update(double seconds) {
    const double timeUnits = seconds * kTimeUnitsPerSecond;
    {
        const TimedPhase timed(phaseSeconds.update);
        // std::list keeps this iterator valid while updates file new elements at either end;
        // those filed at the back are reached in this same pass.
        for (auto it = elements.begin(); it != elements.end(); ++it) {
            (*it)->update(timeUnits);
        }
    }
    {
        const TimedPhase timed(phaseSeconds.collide);
        if (bEveryPair) {
            collideAllPairs();
        } else {
            collide();
        }
    }
    for (auto it = elements.begin(); it != elements.end();) {
        if ((*it)->getHealth() <= 0.0f) {
            it = erase(it);
        } else {
            ++it;
        }
    }
}

void ElementContainer::respond(Object3D& a, Element3D& b) {
    if (onContact) {
        onContact(a, b);
    }
    platform::debugOutput("Kollision\n");
    // Heard where the two meet.
    pSound->play(Sound::Collision, (a.getPos(0) + b.getPos(0)) * 0.5f,
                 (a.getPos(1) + b.getPos(1)) * 0.5f, (a.getPos(2) + b.getPos(2)) * 0.5f);
    a.hit(kCollisionDamage);
    a.setSpeed(a.getSpeed() * kCollisionSpeedFactor);
    b.hit(kCollisionDamage);
    b.setSpeed(b.getSpeed() * kCollisionSpeedFactor);
}

void ElementContainer::collide() {
    // The pairs are found once, before any answer: no hit moves an element, changes a radius,
    // deletes one or files one at the front, and what hits file at the back is inactive.
    broadPhase.find(elements.begin(), elements.end());
    const std::vector<BroadPhase::Body>& bodies = broadPhase.bodies();
    // The places and radii the contacts were decided on are the ones the pass sees.
    for (const BroadPhase::Pair& pair : broadPhase.contacts()) {
        Object3D& a = *bodies[pair.first].element;
        Object3D& b = *bodies[pair.second].element;
        // Activity is read per pair: a breaking shield switches its owner on mid-pass.
        if (a.isActive() && b.isActive()) {
            respond(a, b);
        }
    }
    if (pPlayer == nullptr) {
        return;
    }
    const float playerPos[3] = {pPlayer->getPos(0), pPlayer->getPos(1), pPlayer->getPos(2)};
    const double playerReach = BroadPhase::reachOf(pPlayer->getRadius());
    for (const BroadPhase::Body& body : bodies) {
        // The player's own laser shots never strike the ship: they leave from beside its guns
        // and would touch it at once when fired at rest.
        if (!BroadPhase::mayTouch(body, playerPos, playerReach) ||
            body.element->getKind() == kKindLaserProjectile) {
            continue;
        }
        if (BroadPhase::touches(body.pos, body.radius, playerPos, pPlayer->getRadius()) &&
            body.element->isActive() && pPlayer->isActive()) {
            respond(*body.element, *pPlayer);
        }
    }
}

void ElementContainer::collideAllPairs() {
    for (auto a = elements.begin(); a != elements.end(); ++a) {
        for (auto b = std::next(a); b != elements.end(); ++b) {
            if ((*a)->isActive() && (*b)->isActive() && BroadPhase::touches(**a, **b)) {
                respond(**a, **b);
            }
        }
    }
    if (pPlayer == nullptr) {
        return;
    }
    for (auto& element : elements) {
        if (element->getKind() == kKindLaserProjectile) {
            continue;
        }
        if (element->isActive() && pPlayer->isActive() && BroadPhase::touches(*element, *pPlayer)) {
            respond(*element, *pPlayer);
        }
    }
}

bool ElementContainer::mayShow(const float* centre, float radius) const {
    if (radius < 0.0f) {
        return true;
    }
    for (const float* plane : viewPlanes) {
        if (plane[0] * centre[0] + plane[1] * centre[1] + plane[2] * centre[2] + plane[3] <
            -radius) {
            return false;
        }
    }
    return true;
}

void ElementContainer::takeViewPlanes() {
    float projection[16];
    float modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    float m[16]; // projection x modelview, column-major
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += projection[k * 4 + row] * modelview[column * 4 + k];
            }
            m[column * 4 + row] = sum;
        }
    }
    // Each plane is row 4 plus or minus row 1, 2 or 3 of the combined matrix.
    for (int i = 0; i < 6; ++i) {
        const int row = i / 2;
        const float sign = i % 2 == 0 ? 1.0f : -1.0f;
        float* plane = viewPlanes[i];
        for (int column = 0; column < 4; ++column) {
            plane[column] = m[column * 4 + 3] + sign * m[column * 4 + row];
        }
        const float length =
            std::sqrt(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2]);
        for (int column = 0; column < 4 && length > 0.0f; ++column) {
            plane[column] /= length;
        }
    }
}

void ElementContainer::drawOrLeave(Object3D& element, bool inView) {
    if (inView) {
        culledState.apply();
        element.draw();
    } else {
        element.leaveState(culledState);
    }
}

void ElementContainer::draw() {
    const TimedPhase timed(phaseSeconds.draw);
    takeViewPlanes();
    // Translucent elements wait until every solid one is drawn, then go nearest first. The
    // buffer keeps its room from frame to frame.
    deferred.clear();
    for (auto& element : elements) {
        if (element->getHealth() <= 0.0f) {
            continue;
        }
        const bool inView = element->isInView();
        if (!element->isSortedByDistance()) {
            drawOrLeave(*element, inView);
        } else if (inView || element->leavesState()) {
            // Out of view it waits only if its drawing leaves state that later drawing finds.
            deferred.push_back({static_cast<float>(element->getDistanceToPlayerSquared()),
                                deferred.size(), element.get(), inView});
        }
    }
    // Equal distances keep the order they were filed in, as the multimap did; std::sort needs
    // no buffer, where std::stable_sort would allocate one every frame.
    std::sort(deferred.begin(), deferred.end(), [](const Deferred& a, const Deferred& b) {
        return a.distance < b.distance || (a.distance == b.distance && a.filed < b.filed);
    });
    for (const Deferred& entry : deferred) {
        drawOrLeave(*entry.element, entry.inView);
    }
    // Whatever comes after the world finds what the last models would have left.
    culledState.apply();
}

ModelData& ElementContainer::wireModel(float radius) {
    std::unique_ptr<ModelData>& record = wireModels[radius];
    if (!record) {
        record = std::make_unique<ModelData>();
    }
    return *record;
}

void ElementContainer::reloadTextures() {
    for (auto& entry : modelCache) {
        ModelData* record = entry.second.get();
        record->reloadTextures();
        if (!uses(kShortcutLists) || record->iDisplayList == 0) {
            continue;
        }
        // A list compiled once binds the old textures for good: one living element of the kind
        // compiles it afresh; with none alive, the next one made does.
        auto user = std::find_if(elements.begin(), elements.end(), [record](const auto& element) {
            return element->getModel() == record;
        });
        if (user != elements.end()) {
            (*user)->compileDisplayList();
        } else {
            record->forgetLists();
        }
    }
}
