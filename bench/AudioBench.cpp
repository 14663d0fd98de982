// The sound's cost per frame with the pool full (32 one-shots and both loops playing): what the
// game thread pays on a sound device (the ear, the loops, a new shot, the frame's update; the
// device mixes on its own thread), and the loopback mix of one 1/20 s frame for the runner.
#include "audio/OpenAlSound.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

const double kFrameSeconds = 0.05;

void fillPool(OpenAlSound& sound) {
    sound.startLoop(Sound::Engine);
    sound.startLoop(Sound::Drone);
    for (int i = 0; i < OpenAlSound::kPoolSize; ++i) {
        sound.play(Sound::Explosion, static_cast<float>(i * 40), 0.0f, -300.0f);
    }
}

void frame(OpenAlSound& sound, int i) {
    const float position[3] = {0.0f, 0.0f, static_cast<float>(-i % 1000)};
    const float at[3] = {0.0f, 0.0f, -1.0f};
    const float up[3] = {0.0f, 1.0f, 0.0f};
    sound.setListener(position, at, up);
    sound.adjustLoop(Sound::Engine, 0.3f, 1.0f + static_cast<float>(i % 100) * 0.005f);
    sound.play(Sound::LaserShot, 20.0f, 0.0f, position[2] - 20.0f);
    sound.update(kFrameSeconds);
}

void run(benchmark::State& state, OpenAlSound::Output output, bool topUp) {
    OpenAlSound::Settings settings;
    settings.output = output;
    OpenAlSound sound(settings);
    if (!sound.isOpen()) {
        state.SkipWithError("OpenAL did not open");
        return;
    }
    fillPool(sound);
    int i = 0;
    for (auto _ : state) {
        frame(sound, i++);
        // The mix moves 1/20 s a frame here, so finished sounds are replaced to keep 32 going.
        while (topUp && sound.playingCount() < OpenAlSound::kPoolSize) {
            sound.play(Sound::Explosion, 0.0f, 0.0f, -300.0f);
        }
    }
    state.counters["playing"] = sound.playingCount();
}

// The null back end of OpenAL Soft mixes on its own thread like a real device, with no hardware.
void audioUpdateOnDevice(benchmark::State& state) {
    setenv("ALSOFT_DRIVERS", "null", 1);
    run(state, OpenAlSound::Output::Device, false);
}

void audioFrameMixedToFile(benchmark::State& state) {
    run(state, OpenAlSound::Output::File, true);
}

} // namespace

BENCHMARK(audioUpdateOnDevice)->Unit(benchmark::kMicrosecond);
BENCHMARK(audioFrameMixedToFile)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
