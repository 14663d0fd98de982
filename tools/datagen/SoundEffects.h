// The game's sounds under data/sound/, synthesised from oscillators, noise, envelopes and
// filters: 44.1 kHz mono 16-bit, one-shots that start and end in silence, and two loops (engine
// and drone) built only from whole cycles of the loop length, so their ends meet without a click.
#pragma once

#include <string>

struct SoundDesign {
    const char* path; // relative to the run directory
    double seconds;   // length
    float peak;       // largest sample, in full scale
    bool loop;
};

const int kSoundRate = 44100; // samples per second

// The designs in the order of the game's sound table.
extern const SoundDesign kSoundDesigns[12];

bool writeSoundEffects(const std::string& runDir);
