// The synthesis of each sound. Every one is made from a fixed seed, so each run writes the same
// bytes; every envelope starts and ends at zero.
#include "tools/datagen/SoundEffects.h"

#include "tools/datagen/Random.h"
#include "tools/datagen/WavWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

const SoundDesign kSoundDesigns[12] = {
    {"data/sound/laser.wav", 0.32, 0.89f, false},
    {"data/sound/enemy_shot.wav", 0.55, 0.85f, false},
    {"data/sound/collision.wav", 0.6, 0.89f, false},
    {"data/sound/explosion.wav", 2.2, 0.94f, false},
    {"data/sound/shield_hit.wav", 0.5, 0.85f, false},
    {"data/sound/shield_break.wav", 1.1, 0.89f, false},
    {"data/sound/shield_rise.wav", 1.0, 0.7f, false},
    {"data/sound/level_complete.wav", 2.4, 0.8f, false},
    {"data/sound/game_over.wav", 2.8, 0.8f, false},
    {"data/sound/warning.wav", 0.45, 0.45f, false},
    {"data/sound/engine.wav", 2.0, 0.6f, true},
    {"data/sound/drone.wav", 8.0, 0.5f, true},
};

namespace {

const double kPi = 3.14159265358979323846;
const double kTwoPi = 2.0 * kPi;
const double kRate = kSoundRate;

using Samples = std::vector<float>;

// One-pole low-pass: smooths toward the input with the cut-off frequency.
struct LowPass {
    double y = 0.0;
    double run(double x, double cutoff) {
        y += (1.0 - std::exp(-kTwoPi * cutoff / kRate)) * (x - y);
        return y;
    }
};

// Topology-preserving state-variable filter: band-pass with resonance q, and low-pass.
struct Resonator {
    double ic1 = 0.0, ic2 = 0.0, band = 0.0, low = 0.0;
    double run(double x, double cutoff, double q) {
        const double g = std::tan(kPi * std::min(cutoff, kRate * 0.45) / kRate);
        const double k = 1.0 / q;
        const double a1 = 1.0 / (1.0 + g * (g + k));
        const double a2 = g * a1;
        const double a3 = g * a2;
        const double v3 = x - ic2;
        const double v1 = a1 * ic1 + a2 * v3;
        const double v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2.0 * v1 - ic1;
        ic2 = 2.0 * v2 - ic2;
        band = v1;
        low = v2;
        return band;
    }
};

// Exponential glide from a to b over the time, then holding b.
double glide(double a, double b, double t, double time) {
    return a * std::pow(b / a, std::min(t / time, 1.0));
}

// Fast rise, exponential fall with the time constant.
double strike(double t, double attack, double decay) {
    return t < attack ? t / attack : std::exp(-(t - attack) / decay);
}

// A band-limited sawtooth of the phase (radians) with the harmonics that stay below 16 kHz.
double saw(double phase, double frequency, int maxHarmonics) {
    double sum = 0.0;
    for (int n = 1; n <= maxHarmonics && n * frequency < 16000.0; ++n) {
        sum += std::sin(n * phase) / n;
    }
    return sum * 0.6;
}

// Scales to the peak and, for one-shots, fades the first and last milliseconds so the sound
// starts and ends in silence.
Samples finish(Samples s, float peak, bool loop) {
    if (!loop) {
        const std::size_t in = static_cast<std::size_t>(0.002 * kRate);
        const std::size_t out = static_cast<std::size_t>(0.015 * kRate);
        for (std::size_t i = 0; i < s.size(); ++i) {
            double g = 1.0;
            if (i < in) {
                g = static_cast<double>(i) / in;
            }
            if (i + out >= s.size()) {
                g *= static_cast<double>(s.size() - 1 - i) / out;
            }
            s[i] = static_cast<float>(s[i] * g);
        }
    }
    float largest = 0.0f;
    for (float v : s) {
        largest = std::max(largest, std::fabs(v));
    }
    if (largest > 0.0f) {
        for (float& v : s) {
            v *= peak / largest;
        }
    }
    return s;
}

// Fills n samples with f(t, i).
Samples render(double seconds, const std::function<double(double)>& f) {
    Samples s(static_cast<std::size_t>(std::lround(seconds * kRate)));
    for (std::size_t i = 0; i < s.size(); ++i) {
        s[i] = static_cast<float>(f(static_cast<double>(i) / kRate));
    }
    return s;
}

// A bright downward sweep with a tick of noise at the start: "pew".
Samples laser(double seconds) {
    Random rng(901);
    double phase = 0.0, phase2 = 0.0;
    Resonator hiss;
    return render(seconds, [&](double t) {
        const double f = glide(2600.0, 240.0, t, 0.22);
        phase += kTwoPi * f / kRate;
        phase2 += kTwoPi * f * 1.503 / kRate;
        const double tone = 0.6 * std::sin(phase + 0.8 * std::sin(2.0 * phase)) +
                            0.25 * std::sin(phase2) + 0.15 * std::sin(3.0 * phase);
        const double tick =
            hiss.run(rng.range(-1.0f, 1.0f), 5000.0, 1.5) * strike(t, 0.0005, 0.006);
        return tone * strike(t, 0.002, 0.075) + 0.6 * tick;
    });
}

// A wobbling plasma blob falling in pitch: the sausage leaving an enemy's gun.
Samples enemyShot(double seconds) {
    Random rng(902);
    double phase = 0.0;
    Resonator body;
    return render(seconds, [&](double t) {
        const double f = glide(520.0, 140.0, t, 0.45) * (1.0 + 0.12 * std::sin(kTwoPi * 28.0 * t));
        phase += kTwoPi * f / kRate;
        const double buzz = std::tanh(3.0 * std::sin(phase)) * 0.6;
        const double plasma = body.run(rng.range(-1.0f, 1.0f), 2.0 * f, 4.0) * 1.5;
        return (buzz + plasma) * strike(t, 0.008, 0.15);
    });
}

// Metal on rock: a thump and a clang of inharmonic partials dying away at their own rates.
Samples collision(double seconds) {
    Random rng(903);
    struct Partial {
        double frequency, level, decay, phase;
    };
    std::vector<Partial> partials = {{180.0, 1.0, 0.25, 0.0},   {412.0, 0.7, 0.18, 0.0},
                                     {667.0, 0.5, 0.12, 0.0},   {1043.0, 0.35, 0.09, 0.0},
                                     {1580.0, 0.25, 0.06, 0.0}, {2311.0, 0.15, 0.04, 0.0}};
    for (Partial& p : partials) {
        p.phase = rng.range(0.0f, static_cast<float>(kTwoPi));
    }
    LowPass thud;
    return render(seconds, [&](double t) {
        double clang = 0.0;
        for (const Partial& p : partials) {
            clang +=
                p.level * std::sin(kTwoPi * p.frequency * t + p.phase) * std::exp(-t / p.decay);
        }
        const double thump = 0.6 * std::sin(kTwoPi * 70.0 * t) * std::exp(-t / 0.08) +
                             2.5 * thud.run(rng.range(-1.0f, 1.0f), 400.0) * std::exp(-t / 0.03);
        return clang * 0.5 + thump;
    });
}

// A crack, a burst of noise that darkens as it fades, crackling debris and a long low rumble.
Samples explosion(double seconds) {
    Random rng(904);
    LowPass body, rumble1, rumble2;
    Resonator crackle;
    return render(seconds, [&](double t) {
        const double white = rng.range(-1.0f, 1.0f);
        const double crack = white * std::exp(-t / 0.03);
        const double burst =
            body.run(white, glide(3500.0, 150.0, t, 1.5)) * strike(t, 0.004, 0.45) * 1.6;
        const double low = rumble2.run(rumble1.run(white, 90.0), 90.0);
        const double tail =
            low * 14.0 * strike(t, 0.03, 0.9) * (1.0 + 0.3 * std::sin(kTwoPi * 3.0 * t));
        const double spark =
            rng.uniform() < 0.004 * std::exp(-t / 0.3) ? rng.range(-1.0f, 1.0f) : 0.0;
        return 0.5 * crack + burst + tail + 0.8 * crackle.run(spark * 8.0, 2500.0, 3.0);
    });
}

// A resonant electric zap: noise and a buzz rung through a sharp filter sweeping down.
Samples shieldHit(double seconds) {
    Random rng(905);
    Resonator zap;
    double buzzPhase = 0.0;
    return render(seconds, [&](double t) {
        buzzPhase += kTwoPi * 90.0 / kRate;
        const double source = rng.range(-1.0f, 1.0f) * 0.5 + saw(buzzPhase, 90.0, 60) * 0.8;
        const double rung = zap.run(source, glide(3200.0, 900.0, t, 0.3), 12.0);
        const double ring = rung * (0.7 + 0.3 * std::sin(kTwoPi * 1400.0 * t));
        return ring * strike(t, 0.002, 0.12);
    });
}

// The shield shattering: a shower of glassy grains over a zap falling away and a low thump.
Samples shieldBreak(double seconds) {
    Random rng(906);
    struct Grain {
        double start, frequency, decay, level;
    };
    std::vector<Grain> grains;
    for (int i = 0; i < 70; ++i) {
        const double u = rng.uniform();
        grains.push_back({0.6 * u * u, rng.range(2000.0f, 6000.0f), rng.range(0.02f, 0.06f),
                          rng.range(0.2f, 0.5f)});
    }
    Resonator zap;
    return render(seconds, [&](double t) {
        double glass = 0.0;
        for (const Grain& g : grains) {
            if (t >= g.start) {
                const double a = t - g.start;
                glass += g.level * std::sin(kTwoPi * g.frequency * a) * std::exp(-a / g.decay);
            }
        }
        const double fall = zap.run(rng.range(-1.0f, 1.0f), glide(2000.0, 150.0, t, 0.9), 8.0) *
                            strike(t, 0.003, 0.35);
        const double thump = std::sin(kTwoPi * 60.0 * t) * std::exp(-t / 0.15);
        return 0.5 * glass + 1.4 * fall + 0.5 * thump;
    });
}

// A shimmering chord rising in pitch as the new shield forms.
Samples shieldRise(double seconds) {
    Random rng(907);
    const double ratios[] = {1.0, 1.003, 1.5, 1.497, 2.0};
    double phases[5] = {};
    Resonator air;
    return render(seconds, [&](double t) {
        const double f = glide(220.0, 880.0, t, 0.8);
        double chord = 0.0;
        for (int v = 0; v < 5; ++v) {
            phases[v] += kTwoPi * f * ratios[v] / kRate;
            chord += std::sin(phases[v]) / (1.0 + v * 0.3);
        }
        const double shimmer = 1.0 - 0.3 * (0.5 + 0.5 * std::sin(kTwoPi * 18.0 * t));
        const double breath = air.run(rng.range(-1.0f, 1.0f), 4.0 * f, 6.0) * 0.8;
        const double shape = t < 0.6 ? std::sin(0.5 * kPi * t / 0.6)
                                     : std::cos(0.5 * kPi * (t - 0.6) / (seconds - 0.6));
        return (chord * shimmer + breath) * shape;
    });
}

// A bell: a few partials, the upper ones dying faster.
double bell(double frequency, double t, double decay) {
    if (t < 0.0) {
        return 0.0;
    }
    const double attack = std::min(t / 0.005, 1.0);
    return attack *
           (std::sin(kTwoPi * frequency * t) * std::exp(-t / decay) +
            0.5 * std::sin(kTwoPi * 2.0 * frequency * t) * std::exp(-t / (decay * 0.5)) +
            0.25 * std::sin(kTwoPi * 3.01 * frequency * t) * std::exp(-t / (decay * 0.35)) +
            0.1 * std::sin(kTwoPi * 4.2 * frequency * t) * std::exp(-t / (decay * 0.2)));
}

// A rising major arpeggio of bells ending on a held chord: the level is won.
Samples levelComplete(double seconds) {
    return render(seconds, [&](double t) {
        return 0.35 * (bell(523.25, t, 0.5) + bell(659.25, t - 0.15, 0.5) +
                       bell(783.99, t - 0.30, 0.5) + bell(1046.5, t - 0.45, 1.0) +
                       0.6 * bell(659.25, t - 0.45, 1.0) + 0.6 * bell(783.99, t - 0.45, 1.0));
    });
}

// A slow falling minor line on muffled detuned saws, ending on a low wavering note.
Samples gameOver(double seconds) {
    struct Note {
        double start, length, frequency;
    };
    const Note notes[] = {
        {0.0, 0.45, 392.0}, {0.4, 0.45, 311.13}, {0.8, 0.45, 261.63}, {1.2, 1.55, 130.81}};
    double phases[4][2] = {};
    LowPass muffle;
    return render(seconds, [&](double t) {
        double sum = 0.0;
        for (int n = 0; n < 4; ++n) {
            const Note& note = notes[n];
            const double a = t - note.start;
            if (a < 0.0 || a > note.length) {
                continue;
            }
            const double vibrato = n == 3 ? 1.0 + 0.01 * std::sin(kTwoPi * 5.0 * a) : 1.0;
            const double envelope = std::min(a / 0.02, 1.0) *
                                    std::min((note.length - a) / 0.08, 1.0) *
                                    std::exp(-a / (n == 3 ? 0.9 : 0.6));
            for (int v = 0; v < 2; ++v) {
                phases[n][v] += kTwoPi * note.frequency * vibrato * (v == 0 ? 1.0 : 1.006) / kRate;
                sum += saw(phases[n][v], note.frequency, 12) * envelope;
            }
        }
        return muffle.run(sum, 1200.0);
    });
}

// Two soft square beeps, high then low.
Samples warning(double seconds) {
    return render(seconds, [&](double t) {
        const bool first = t < 0.18;
        const double start = first ? 0.0 : 0.22;
        const double length = 0.18;
        const double a = t - start;
        if (a < 0.0 || a > length) {
            return 0.0;
        }
        const double f = first ? 880.0 : 660.0;
        const double edge = std::min(std::min(a, length - a) / 0.005, 1.0);
        const double square = std::sin(kTwoPi * f * a) + std::sin(3.0 * kTwoPi * f * a) / 3.0 +
                              std::sin(5.0 * kTwoPi * f * a) / 5.0;
        return square * edge;
    });
}

// Periodic noise: sines on a grid of frequencies that are whole multiples of 1/period, with
// random phases, so the noise repeats exactly after the period.
struct PeriodicNoise {
    std::vector<double> frequency, level, phase;
    PeriodicNoise(Random& rng, double lo, double hi, double step) {
        for (double f = lo; f <= hi; f += step) {
            frequency.push_back(f);
            level.push_back(1.0 / std::sqrt(f));
            phase.push_back(rng.range(0.0f, static_cast<float>(kTwoPi)));
        }
    }
    double at(double t) const {
        double sum = 0.0;
        for (std::size_t i = 0; i < frequency.size(); ++i) {
            sum += level[i] * std::sin(kTwoPi * frequency[i] * t + phase[i]);
        }
        return sum;
    }
};

// The drive: a 55 Hz sawtooth hum throbbing seven times a second, a turbine whine and rushing
// noise; every frequency is a multiple of 0.5 Hz, so two seconds hold whole cycles of all.
Samples engine(double seconds) {
    Random rng(911);
    const PeriodicNoise rush(rng, 150.0, 1200.0, 2.5);
    const double norm = 1.0 / std::sqrt(static_cast<double>(rush.frequency.size()));
    return render(seconds, [&](double t) {
        double hum = 0.0;
        for (int n = 1; n <= 16; ++n) {
            hum += std::sin(kTwoPi * 55.0 * n * t + n * 0.7) / std::pow(n, 1.2);
        }
        const double throb = 1.0 + 0.25 * std::sin(kTwoPi * 7.0 * t);
        const double whine = 0.08 * std::sin(kTwoPi * 880.0 * t);
        return hum * throb + whine + 3.0 * norm * rush.at(t) * throb;
    });
}

// Space itself: a low beating chord on a fifth, slowly swelling, and a faint wind; every
// frequency is a multiple of 1/8 Hz, so eight seconds hold whole cycles of all.
Samples drone(double seconds) {
    Random rng(912);
    const PeriodicNoise wind(rng, 200.0, 800.0, 4.0);
    const double norm = 1.0 / std::sqrt(static_cast<double>(wind.frequency.size()));
    return render(seconds, [&](double t) {
        const double chord =
            std::sin(kTwoPi * 41.25 * t) * (0.8 + 0.2 * std::sin(kTwoPi * 0.125 * t)) +
            std::sin(kTwoPi * 41.375 * t + 1.0) * 0.8 +
            0.6 * std::sin(kTwoPi * 61.875 * t + 2.0) * (0.7 + 0.3 * std::sin(kTwoPi * 0.25 * t)) +
            0.4 * std::sin(kTwoPi * 82.5 * t + 0.5) +
            0.2 * std::sin(kTwoPi * 123.75 * t) * (0.5 + 0.5 * std::sin(kTwoPi * 0.375 * t));
        const double gust = 0.6 + 0.4 * std::sin(kTwoPi * 0.25 * t + 1.3);
        return chord + 2.0 * norm * wind.at(t) * gust;
    });
}

} // namespace

bool writeSoundEffects(const std::string& runDir) {
    using Maker = Samples (*)(double);
    const Maker makers[12] = {laser,     enemyShot,   collision,  explosion,
                              shieldHit, shieldBreak, shieldRise, levelComplete,
                              gameOver,  warning,     engine,     drone};
    bool ok = true;
    for (int i = 0; i < 12; ++i) {
        const SoundDesign& design = kSoundDesigns[i];
        const Samples samples = finish(makers[i](design.seconds), design.peak, design.loop);
        double sum = 0.0;
        for (float v : samples) {
            sum += static_cast<double>(v) * v;
        }
        const double rms = std::sqrt(sum / static_cast<double>(samples.size()));
        std::printf("  %-28s %5.2f s, peak %5.2f, rms %5.1f dBFS%s\n", design.path, design.seconds,
                    design.peak, 20.0 * std::log10(rms), design.loop ? ", loop" : "");
        ok = saveWav(runDir + "/" + design.path, samples, kSoundRate) && ok;
    }
    return ok;
}
