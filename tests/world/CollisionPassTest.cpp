// The collision pass through the broad phase against the pass over every pair: random, clustered
// and awkward worlds meet in the same contacts and leave the same world, log and sounds behind,
// and what the broad phase takes for granted holds at every answer.
#include "game/EnemyFighter.h"
#include "game/Shield.h"
#include "level/Trigger.h"
#include "tests/support/WorldFixture.h"

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <new>
#include <random>
#include <string>
#include <vector>

using testsupport::PlayerStandIn;
using testsupport::ProbeElement;
using testsupport::WorldTest;

namespace {
std::atomic<long> newCalls{0};
} // namespace

// Every operator new is counted, for the pass that must allocate nothing. The nothrow forms too
// (the GL driver uses them), so each block goes back through the free matching its malloc.
namespace {
void* countedBlock(std::size_t size) noexcept {
    newCalls.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size != 0 ? size : 1);
}
} // namespace

void* operator new(std::size_t size) {
    if (void* block = countedBlock(size)) {
        return block;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return ::operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return countedBlock(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return countedBlock(size);
}
// The blocks came from malloc above, which GCC cannot see when it pairs new with delete.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

namespace {

const float kInf = std::numeric_limits<float>::infinity();
const float kNaN = std::numeric_limits<float>::quiet_NaN();
// What a level's atof makes of "1e39" as a float, and other coordinates no grid expects.
const float kNastyCoordinates[] = {1e30f,  -1e30f, static_cast<float>(1e39), -kInf, kNaN, 3.4e38f,
                                   -1e19f, 2e15f};
// Zero, negative, tiny (whose square underflows), huge, one whose square is infinite, the
// largest float, infinite and NaN.
const float kNastyRadii[] = {0.0f,  0.0f,  -10.0f,  1e-20f, 1e-30f, 2e3f,
                             1e10f, 2e19f, 3.4e38f, kInf,   kNaN,   0.5f};
// 2^-75: its square is half the smallest float, which rounds to 0.
const float kSpeck = 2.64697796e-23f;
const float kSpeckRadii[] = {3.7433921e-23f /* 2^-74.5 */, 5.29395592e-23f /* 2^-74 */, 1e-20f,
                             0.0f};
const unsigned kSmallWorlds = 3000;
const int kKinds[] = {kKindAsteroid,        kKindAsteroid, kKindBonus,      kKindKnacker,
                      kKindFighter,         kKindFighter,  kKindWurst,      kKindLaserProjectile,
                      kKindLaserProjectile, kKindShield,   kKindSmokeCloud, kKindExplosion};

std::string hex(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%a", value);
    return text;
}

std::string where(const Element3D& element) {
    return hex(element.getPos(0)) + "," + hex(element.getPos(1)) + "," + hex(element.getPos(2));
}

std::string name(const Element3D& element) {
    return element.getObjId().empty() ? "new@" + where(element) : element.getObjId();
}

std::string state(const Element3D& element) {
    return name(element) + " health " + hex(element.getHealth()) + " speed " +
           hex(element.getSpeed()) + (element.isActive() ? " active" : " inactive");
}

// Every sound the world asks for, with where.
class SoundLog : public SoundSystem {
public:
    void play(Sound sound, float x, float y, float z) override {
        calls.push_back(std::to_string(static_cast<int>(sound)) + " at " + hex(x) + "," + hex(y) +
                        "," + hex(z));
    }
    void playFlat(Sound sound) override {
        calls.push_back(std::to_string(static_cast<int>(sound)) + " flat");
    }
    std::vector<std::string> calls;
};

// Everything a pass leaves that a player or a caller could notice.
struct Outcome {
    std::vector<std::string> contacts;
    std::vector<std::string> elements; // the list afterwards, the new explosions included
    std::vector<std::string> sounds;
    std::string log;
};

struct Layout {
    int elements;
    float box;         // side of the cube the elements (or the cluster centres) lie in
    int clusters;      // 0: scattered over the box
    float clusterSide; // side of the cube each cluster's elements lie in
    double oddity;     // how often radii and coordinates are out of the ordinary (1: often)
};

class CollisionPassTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        player = std::make_unique<PlayerStandIn>(world);
        // Thousands of worlds say "Kollision" a great deal: the observer alone listens.
        platform::setDebugLog("");
    }
    void TearDown() override {
        platform::setDebugLog("stderr");
        WorldTest::TearDown();
        player.reset();
    }

    // The same world, made anew, played by both passes: the first pass on its own, then frames
    // of the update, each after the world was changed a little.
    void compare(const std::function<void()>& make, unsigned seed, int frames) {
        const Outcome broad = play(make, seed, frames, false);
        const Outcome everyPair = play(make, seed, frames, true);
        ASSERT_EQ(broad.contacts, everyPair.contacts) << "world " << seed;
        ASSERT_EQ(broad.elements, everyPair.elements) << "world " << seed;
        ASSERT_EQ(broad.sounds, everyPair.sounds) << "world " << seed;
        ASSERT_EQ(broad.log, everyPair.log) << "world " << seed;
        contacts += broad.contacts.size() - frames;
    }

    Outcome play(const std::function<void()>& make, unsigned seed, int frames, bool everyPair) {
        world->clear();
        world->bLevelEnded = false;
        EnemyFighter::resetSharedState();
        make();
        SoundLog sounds;
        world->setSound(&sounds);
        Outcome outcome;
        testsupport::DebugCapture capture;
        bool begun = false;
        world->onContact = [&](const Element3D& a, const Element3D& b) {
            if (!begun) { // nothing happens in a pass before its first answer
                takeSnapshot();
                begun = true;
            }
            checkInvariants(seed);
            outcome.contacts.push_back(name(a) + " + " + name(b));
        };
        for (int frame = 0; frame < frames; ++frame) {
            outcome.contacts.push_back("frame " + std::to_string(frame));
            begun = false;
            if (frame == 0) {
                everyPair ? world->collideAllPairs() : world->collide();
                if (begun) {
                    checkInvariants(seed); // after the last answer too
                }
            } else {
                const double seconds = change(seed, frame);
                world->bEveryPair = everyPair;
                world->update(seconds);
                world->bEveryPair = false;
            }
            for (auto& element : *world) {
                outcome.elements.push_back(state(*element));
            }
            outcome.elements.push_back(state(*player));
        }
        world->onContact = nullptr;
        world->setSound(nullptr);
        outcome.log = capture.text();
        outcome.sounds = sounds.calls;
        return outcome;
    }

    // Changes the world a little between frames (elements moved, made, killed, switched on or
    // off, radii changed), the same way for the same seed and frame, and gives the frame's
    // seconds: 0 (nothing moves by itself) or a short step.
    double change(unsigned seed, int frame) {
        random.seed(seed * 1000u + static_cast<unsigned>(frame));
        std::vector<Object3D*> elements;
        for (auto& element : *world) {
            elements.push_back(element.get());
        }
        for (int c = chance(0.3) ? 0 : 1 + static_cast<int>(below(3)); c > 0 && !elements.empty();
             --c) {
            Object3D& element = *elements[below(elements.size())];
            const std::size_t what = below(6);
            if (what == 0) {
                element.setPos(element.getPos(0) + uniform(-30, 30), element.getPos(1),
                               element.getPos(2) + uniform(-30, 30));
            } else if (what == 1) {
                element.setRadius(chance(0.5) ? kNastyRadii[below(std::size(kNastyRadii))]
                                              : uniform(0, 60));
            } else if (what == 2) {
                element.setActive(!element.isActive());
            } else if (what == 3) {
                element.setHealth(0.0f); // gone at the end of this frame
            } else if (Object3D* made = world->addElement(kKinds[below(std::size(kKinds))])) {
                made->setObjId(("f" + std::to_string(frame) + "." + std::to_string(c)).c_str());
                made->setPos(element.getPos(0) + uniform(-40, 40), element.getPos(1),
                             element.getPos(2) + uniform(-40, 40));
                guard(*made, made->getObjId());
            }
            follow(element);
        }
        return chance(0.5) ? 0.0 : 0.01;
    }

    // What the broad phase takes for granted, checked before every answer and after the pass.
    struct Place {
        const Element3D* element;
        float pos[3];
        float radius;
        bool operator==(const Place& other) const {
            // Bit for bit, so that NaN stays NaN.
            return element == other.element && std::memcmp(pos, other.pos, sizeof pos) == 0 &&
                   std::memcmp(&radius, &other.radius, sizeof radius) == 0;
        }
    };
    static Place place(const Element3D& element) {
        return {&element,
                {element.getPos(0), element.getPos(1), element.getPos(2)},
                element.getRadius()};
    }
    void takeSnapshot() {
        kept.clear();
        for (auto& element : *world) {
            kept.push_back(place(*element));
        }
        kept.push_back(place(*player));
    }
    void checkInvariants(unsigned seed) {
        std::size_t i = 0;
        for (auto& element : *world) {
            if (i + 1 < kept.size()) {
                ASSERT_TRUE(place(*element) == kept[i])
                    << "world " << seed
                    << ": a hit moved an element, changed a radius, deleted an element or filed "
                       "one at the front";
            } else {
                ASSERT_FALSE(element->isActive())
                    << "world " << seed << ": an element filed during the pass is active";
            }
            ++i;
        }
        ASSERT_GE(i + 1, kept.size()) << "world " << seed << ": an element was deleted";
        ASSERT_TRUE(place(*player) == kept.back()) << "world " << seed << ": the ship moved";
    }

    // Makes a world from the seed, always the same one for the same seed.
    void make(unsigned seed, const Layout& layout) {
        random.seed(seed);
        centres.clear();
        for (int c = 0; c < layout.clusters; ++c) {
            centres.push_back(
                {uniform(0, layout.box), uniform(0, layout.box), uniform(0, layout.box)});
        }
        std::vector<Object3D*> made;
        std::vector<Object3D*> onWalls;
        for (int i = 0; i < layout.elements; ++i) {
            Object3D* element = world->addElement(kKinds[below(std::size(kKinds))]);
            element->setObjId(("e" + std::to_string(i)).c_str());
            shape(*element, layout.oddity);
            place(*element, made, layout);
            if (chance(0.1)) {
                onWalls.push_back(element);
            }
            guard(*element, element->getObjId());
            made.push_back(element);
        }
        if (chance(0.01)) {
            world->addElement(kKindOuterSpace)->setObjId("sky"); // inactive: takes no part
        }
        // Some exactly on the walls of the grid's cells, or a float step off them.
        BroadPhase grid;
        grid.find(world->begin(), world->end());
        const double cell = grid.cellSize();
        for (Object3D* element : onWalls) {
            float pos[3] = {element->getPos(0), element->getPos(1), element->getPos(2)};
            for (float& p : pos) {
                if (std::isfinite(p) && chance(0.7)) {
                    p = static_cast<float>(std::round(p / cell) * cell);
                    const int step = static_cast<int>(below(3)) - 1;
                    p = step == 0 ? p : std::nextafter(p, step * kInf);
                }
            }
            element->setPos(pos[0], pos[1], pos[2]);
            follow(*element);
        }
        player->setPos(uniform(0, layout.box), uniform(0, layout.box), uniform(0, layout.box));
        player->setRadius(chance(0.05) ? kNastyRadii[below(std::size(kNastyRadii))] : 30.0f);
        player->setHealth(chance(0.2) ? 40.0f : 300.0f);
        player->setActive(chance(0.9));
        player->setSpeed(uniform(-5, 5));
    }

    // Radius, health, speed, activity and a death trigger, now and then out of the ordinary.
    void shape(Object3D& element, double oddity) {
        if (chance(0.12 * oddity)) {
            element.setRadius(kNastyRadii[below(std::size(kNastyRadii))]);
        }
        if (chance(0.3)) {
            const float healths[] = {1.0f, 40.0f, 40.5f, 80.0f, 100.0f, 0.0f, -5.0f};
            element.setHealth(healths[below(std::size(healths))]);
        }
        element.setSpeed(uniform(-10, 10));
        if (chance(0.08)) {
            element.setActive(!element.isActive());
        }
        if (chance(0.03)) {
            element.setTrigger(
                std::make_unique<Trigger>(kTriggerCauseDeath, kTriggerEventEndLevel));
        }
    }

    // Scattered or clustered; now and then at another's very point, on the edge of touching it,
    // or at a coordinate no grid expects.
    void place(Object3D& element, const std::vector<Object3D*>& made, const Layout& layout) {
        float pos[3];
        const std::vector<float>& centre =
            centres.empty() ? std::vector<float>{0, 0, 0} : centres[below(centres.size())];
        const float side = centres.empty() ? layout.box : layout.clusterSide;
        for (int k = 0; k < 3; ++k) {
            pos[k] = centre[k] + uniform(0, side);
        }
        if (!made.empty() && chance(0.08)) {
            const Object3D& other = *made[below(made.size())];
            for (int k = 0; k < 3; ++k) {
                pos[k] = other.getPos(k);
            }
        } else if (!made.empty() && chance(0.15)) {
            if (chance(0.5)) {
                // With one radius 0, the threshold is the other radius itself: rounding alone
                // decides a pair a float step either side of it.
                element.setRadius(chance(0.9) ? 0.0f : 1e-20f);
            }
            atTheThreshold(*made[below(made.size())], element.getRadius(), pos);
        }
        if (chance(0.04 * layout.oddity)) {
            // A speck by the origin, where squares of distances and radii underflow.
            for (float& p : pos) {
                p = static_cast<float>(static_cast<int>(below(5)) - 2) * kSpeck;
            }
            element.setRadius(kSpeckRadii[below(std::size(kSpeckRadii))]);
        }
        if (chance(0.04 * layout.oddity)) {
            pos[below(3)] = kNastyCoordinates[below(std::size(kNastyCoordinates))];
        }
        element.setPos(pos[0], pos[1], pos[2]);
        follow(element);
    }

    // A point where a sphere of the radius just touches the other, or just fails to, found
    // along a random direction with the game's own float test; now and then a float step off.
    void atTheThreshold(const Object3D& other, float radius, float* pos) {
        const float from[3] = {other.getPos(0), other.getPos(1), other.getPos(2)};
        const double reach = std::fabs(double(other.getRadius())) + std::fabs(double(radius));
        if (!std::isfinite(reach) || reach > 1e6 || !std::isfinite(from[0] + from[1] + from[2])) {
            return;
        }
        double direction[3];
        for (double& d : direction) {
            d = uniform(-1, 1);
        }
        const auto at = [&](double t, float* point) {
            for (int k = 0; k < 3; ++k) {
                point[k] = static_cast<float>(from[k] + t * direction[k]);
            }
        };
        double inside = 0.0;
        double outside = 2.0 * reach + 1.0;
        for (int i = 0; i < 80; ++i) {
            const double t = (inside + outside) / 2.0;
            at(t, pos);
            (BroadPhase::touches(from, other.getRadius(), pos, radius) ? inside : outside) = t;
        }
        at(chance(0.5) ? inside : outside, pos);
        if (chance(0.3)) {
            float& p = pos[below(3)];
            p = std::nextafter(p, chance(0.5) ? kInf : -kInf);
        }
    }

    // A fighter's shield sits where the fighter is, as the fighter keeps it.
    static void follow(Object3D& element) {
        if (Object3D* shield = element.getShield()) {
            shield->setPos(element.getPos(0), element.getPos(1), element.getPos(2));
        }
    }

    // Fighters' shields that break at the first hit, the second or not at all, or are broken
    // already; now and then a shield round another element, held by it.
    void guard(Object3D& element, const std::string& id) {
        follow(element);
        if (Object3D* shield = element.getShield()) {
            shield->setObjId((id + "s").c_str());
            const float healths[] = {40.0f, 41.0f, 80.0f, 120.0f, 200.0f};
            shield->setHealth(healths[below(std::size(healths))]);
            if (chance(0.15)) {
                shield->hit(shield->getHealth()); // broken before the pass: the fighter is open
            }
        } else if (element.getKind() != kKindShield && chance(0.04)) {
            Object3D* shield = element.createShield(uniform(5, 60));
            shield->setObjId((id + "g").c_str());
            shield->setHealth(chance(0.5) ? 40.0f : 80.0f);
            element.setActive(false);
            element.setShield(shield); // held, as a fighter holds its own until it breaks
        }
    }

    float uniform(double low, double high) {
        return static_cast<float>(std::uniform_real_distribution<double>(low, high)(random));
    }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random) < p; }
    std::size_t below(std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    }

    std::unique_ptr<PlayerStandIn> player;
    std::mt19937 random;
    std::vector<std::vector<float>> centres;
    std::vector<Place> kept; // the list at the start of the pass, then the ship
    std::size_t contacts = 0;
};

} // namespace

TEST_F(CollisionPassTest, AwkwardPairsMeetAsEveryPairDoes) {
    const float big = 1e30f;
    const float speck = kSpeck;
    const struct {
        const char* what;
        float a[3], radiusA, b[3], radiusB;
        bool touch;
    } cases[] = {
        {"radii 10, 14.14 apart", {0, 0, 0}, 10, {14.14f, 0, 0}, 10, true},
        {"radii 10, 14.15 apart", {0, 0, 0}, 10, {0, 14.15f, 0}, 10, false},
        {"ship and fighter, 49.99 apart", {0, 0, 0}, 30, {0, 0, -49.99f}, 40, true},
        {"ship and fighter, 50 apart: not 70", {0, 0, 0}, 30, {0, 0, -50}, 40, false},
        {"at one point, radii 0", {5, 5, 5}, 0, {5, 5, 5}, 0, false},
        {"at one point, radii 0 and 1", {5, 5, 5}, 0, {5, 5, 5}, 1, true},
        {"squares underflowing to 0", {0, 0, 0}, 3.7433921e-23f, {speck, speck, speck}, 0, true},
        {"radius squared infinite, 1e19 away", {0, 0, 0}, 2e19f, {1e19f, 0, 0}, 0, true},
        {"radius squared infinite, 2e19 away", {0, 0, 0}, 2e19f, {2e19f, 0, 0}, 0, false},
        {"largest radius, 1e19 away", {0, 0, 0}, 3.4e38f, {0, 0, -1e19f}, 10, true},
        {"infinite radius", {0, 0, 0}, kInf, {0, 1e10f, 0}, 0, true},
        {"NaN radius at one point", {0, 0, 0}, kNaN, {0, 0, 0}, 10, false},
        {"both at 1e30", {big, big, big}, 10, {big, big, big}, 10, true},
        {"1e30 and a float step on", {big, 0, 0}, 10, {std::nextafter(big, kInf), 0, 0}, 10, false},
        {"both at 1e39 (infinite as a float)", {kInf, 0, 0}, 10, {kInf, 0, 0}, 10, false},
        {"one at infinity, infinite radius", {-kInf, 0, 0}, kInf, {0, 0, 0}, 10, false},
        {"both at NaN", {0, kNaN, 0}, 10, {0, kNaN, 0}, 10, false},
        {"-1e30 and 1e30, infinite radius", {-big, 0, 0}, kInf, {big, 0, 0}, 10, false},
    };
    for (const auto& c : cases) {
        const auto make = [&] {
            for (int i = 0; i < 2; ++i) {
                ProbeElement* probe = addProbe(c.what);
                const float* pos = i == 0 ? c.a : c.b;
                probe->setPos(pos[0], pos[1], pos[2]);
                probe->setRadius(i == 0 ? c.radiusA : c.radiusB);
                probe->setHealth(100.0f);
                probe->setObjId(i == 0 ? "a" : "b");
            }
            player->setActive(false);
        };
        compare(make, 0, 1);
        EXPECT_EQ(contacts, c.touch ? 1u : 0u) << c.what;
        contacts = 0;
    }
}

TEST_F(CollisionPassTest, SmallRandomWorldsMeetAsEveryPairDoesFrameAfterFrame) {
    for (unsigned seed = 1; seed <= kSmallWorlds; ++seed) {
        std::mt19937 sizes(seed);
        const Layout layout{2 + static_cast<int>(sizes() % 40), 20.0f + sizes() % 400, 0, 0.0f,
                            1.0};
        compare([&] { make(seed, layout); }, seed, 1 + static_cast<int>(seed % 4));
        if (HasFatalFailure()) {
            return;
        }
    }
    EXPECT_GT(contacts, 10000u) << "the worlds should touch a lot";
}

TEST_F(CollisionPassTest, LargeClusteredWorldsMeetAsEveryPairDoes) {
    const Layout layouts[] = {{2000, 20000.0f, 150, 300.0f, 0.02},
                              {3000, 50000.0f, 600, 150.0f, 0.02},
                              {1500, 3000.0f, 40, 600.0f, 0.05}};
    unsigned seed = 100000;
    for (const Layout& layout : layouts) {
        ++seed;
        compare([&] { make(seed, layout); }, seed, 2);
        if (HasFatalFailure()) {
            return;
        }
    }
}

TEST_F(CollisionPassTest, ASteadyFrameAllocatesNothing) {
    // Rocks in touching clusters, one of them moving every frame, so that the pairs are sought
    // anew each time and contacts are answered.
    for (int i = 0; i < 400; ++i) {
        Object3D* rock = world->addElement(kKindAsteroid);
        rock->setPos(static_cast<float>(i / 8) * 300.0f, static_cast<float>(i % 8) * 25.0f, 0.0f);
        rock->setHealth(1e9f);
    }
    Object3D* mover = world->begin()->get();
    player->setPos(0.0f, 0.0f, 0.0f);
    const auto frame = [&](int f) {
        mover->setPos(mover->getPos(0) + (f % 2 == 0 ? 0.5f : -0.5f), 0.0f, 0.0f);
        world->collide();
    };
    for (int f = 0; f < 3; ++f) {
        frame(f);
    }
    const long before = newCalls.load();
    for (int f = 0; f < 10; ++f) {
        frame(f);
    }
    EXPECT_EQ(newCalls.load() - before, 0);
}
