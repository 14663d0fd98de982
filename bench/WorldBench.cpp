// The world's per-frame passes under load: the update (every element's own update, the collision
// pass and the removal of the dead) and the collision pass alone, for 100, 1000 and 3000
// elements. Run from the build folder, which holds the models the elements load.
#include "game/Asteroid.h"
#include "game/PlayerShip.h"
#include "platform/HeadlessContext.h"
#include "world/ElementContainer.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <memory>

namespace {

const float kSpacing = 150.0f; // world units between neighbours: nobody touches anybody
const double kFrameSeconds = 1.0 / 60.0;

// A world of still rocks in a block, bonus items and knackers among them, and the player far
// off, as the level's fields are laid out.
class BenchWorld {
public:
    explicit BenchWorld(int count) {
        world = ElementContainer::getInstance();
        player = std::make_unique<PlayerShip>(world, nullptr);
        player->setPos(1.0e6f, 0.0f, 0.0f);
        const int side = static_cast<int>(std::ceil(std::cbrt(static_cast<double>(count))));
        for (int i = 0; i < count; ++i) {
            const int kind = i % 10 == 9 ? kKindKnacker : (i % 5 == 4 ? kKindBonus : kKindAsteroid);
            Object3D* element = world->addElement(kind);
            element->setPos(static_cast<float>(i % side) * kSpacing,
                            static_cast<float>((i / side) % side) * kSpacing,
                            -static_cast<float>(i / (side * side)) * kSpacing);
        }
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

void worldCollide(benchmark::State& state) {
    glContext();
    BenchWorld bench(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        bench.world->collide();
    }
    const double n = static_cast<double>(state.range(0));
    state.counters["pairs"] = n * (n - 1.0) / 2.0 + n;
}

} // namespace

BENCHMARK(worldUpdate)->Arg(100)->Arg(1000)->Arg(3000)->Unit(benchmark::kMicrosecond);
BENCHMARK(worldCollide)->Arg(100)->Arg(1000)->Arg(3000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
