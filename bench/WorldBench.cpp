// The world's per-frame passes under load: the update (every element's own update, the collision
// pass and the removal of the dead) for 100, 1000 and 3000 elements, and the collision pass alone
// for 1000 and 10000, through the broad phase and over every pair (the yardstick it replaced):
// spread out on a grid as a level's fields are (nobody touches), and in clusters that touch.
// Run from the build folder, which holds the models the elements load.
#include "game/Asteroid.h"
#include "game/PlayerShip.h"
#include "platform/HeadlessContext.h"
#include "platform/Platform.h"
#include "world/ElementContainer.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <memory>

namespace {

const float kSpacing = 150.0f;     // world units between neighbours: nobody touches anybody
const float kFieldSpacing = 70.0f; // a level maker's field of rocks
// A cluster: eight rocks 30 apart, each touching its neighbours (radius 20: below 28.3 apart).
const int kClusterSide = 2;
const float kClusterSpacing = 25.0f;
const float kClusterGap = 400.0f;
const float kMoverStep = 0.5f; // world units a moving rock goes back and forth each frame
const double kFrameSeconds = 1.0 / 60.0;

// A world of still rocks in a block, bonus items and knackers among them, and the player far
// off, as the level's fields are laid out.
class BenchWorld {
public:
    explicit BenchWorld(int count, float spacing = kSpacing) {
        world = ElementContainer::getInstance();
        player = std::make_unique<PlayerShip>(world, nullptr);
        player->setPos(1.0e6f, 0.0f, 0.0f);
        const int side = static_cast<int>(std::ceil(std::cbrt(static_cast<double>(count))));
        for (int i = 0; i < count; ++i) {
            const int kind = i % 10 == 9 ? kKindKnacker : (i % 5 == 4 ? kKindBonus : kKindAsteroid);
            Object3D* element = world->addElement(kind);
            element->setPos(static_cast<float>(i % side) * spacing,
                            static_cast<float>((i / side) % side) * spacing,
                            -static_cast<float>(i / (side * side)) * spacing);
        }
    }
    // Rocks in cubes of eight that touch inside each cube, the cubes far apart.
    static std::unique_ptr<BenchWorld> clustered(int count) {
        auto bench = std::make_unique<BenchWorld>(0);
        const int perCluster = kClusterSide * kClusterSide * kClusterSide;
        const int clusters = (count + perCluster - 1) / perCluster;
        const int side = static_cast<int>(std::ceil(std::cbrt(static_cast<double>(clusters))));
        for (int i = 0; i < count; ++i) {
            const int c = i / perCluster;
            const int k = i % perCluster;
            Object3D* rock = bench->world->addElement(kKindAsteroid);
            rock->setHealth(1.0e9f); // lives through every benchmark frame
            rock->setPos(
                static_cast<float>(c % side) * kClusterGap + (k % 2) * kClusterSpacing,
                static_cast<float>((c / side) % side) * kClusterGap + (k / 2 % 2) * kClusterSpacing,
                -static_cast<float>(c / (side * side)) * kClusterGap + (k / 4) * kClusterSpacing);
        }
        return bench;
    }
    ~BenchWorld() {
        delete world;
        player.reset();
    }
    ElementContainer* world = nullptr;
    std::unique_ptr<PlayerShip> player;
};

platform::HeadlessContext& glContext() {
    // Models load their textures, which needs a context; one serves the whole run.
    static platform::HeadlessContext* context = [] {
        auto* c = new platform::HeadlessContext();
        if (!c->create(64, 64)) {
            std::fprintf(stderr, "world_bench: no GL context: %s\n", c->error().c_str());
        }
        return c;
    }();
    return *context;
}

void worldUpdate(benchmark::State& state) {
    glContext();
    BenchWorld bench(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        bench.world->update(kFrameSeconds);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["elements"] = static_cast<double>(bench.world->size());
}

// The collision pass over a field of rocks 70 apart (state.range(1) 0) or in touching clusters
// (1), through the broad phase or over every pair. With state.range(2) 1 one rock moves a little
// every frame, so that the broad phase searches anew; with 0 all stand still.
void collide(benchmark::State& state, bool everyPair) {
    glContext();
    const int count = static_cast<int>(state.range(0));
    std::unique_ptr<BenchWorld> bench = state.range(1) == 0
                                            ? std::make_unique<BenchWorld>(count, kFieldSpacing)
                                            : BenchWorld::clustered(count);
    Object3D* mover = bench->world->begin()->get();
    const bool moving = state.range(2) != 0;
    platform::setDebugLog(""); // clusters say "Kollision" a great deal
    float step = kMoverStep;
    for (auto _ : state) {
        if (moving) {
            mover->setPos(mover->getPos(0) + step, mover->getPos(1), mover->getPos(2));
            step = -step;
        }
        if (everyPair) {
            bench->world->collideAllPairs();
        } else {
            bench->world->collide();
        }
    }
    platform::setDebugLog("stderr");
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void worldCollide(benchmark::State& state) {
    collide(state, false);
}

void worldCollideEveryPair(benchmark::State& state) {
    collide(state, true);
}

} // namespace

BENCHMARK(worldUpdate)->Arg(100)->Arg(1000)->Arg(3000)->Unit(benchmark::kMicrosecond);
BENCHMARK(worldCollide)
    ->ArgNames({"elements", "clustered", "moving"})
    ->ArgsProduct({{1000, 10000}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(worldCollideEveryPair)
    ->ArgNames({"elements", "clustered", "moving"})
    ->ArgsProduct({{1000, 10000}, {0, 1}, {0}})
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
