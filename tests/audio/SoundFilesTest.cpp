// The generated sounds as the game loads them: every file reads, is mono 16-bit at 44.1 kHz, has
// the length and loudness of its design, one-shots start and end in silence, loops meet.
#include "platform/WavFile.h"
#include "world/SoundSystem.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

struct Design {
    Sound sound;
    double seconds;
    double minRmsDb, maxRmsDb; // loudness over the whole file, dB below full scale
    bool loop;
};

const Design kDesigns[] = {
    {Sound::LaserShot, 0.32, -20, -12, false}, {Sound::EnemyShot, 0.55, -22, -14, false},
    {Sound::Collision, 0.6, -20, -12, false},  {Sound::Explosion, 2.2, -25, -17, false},
    {Sound::ShieldHit, 0.5, -27, -19, false},  {Sound::ShieldBreak, 1.1, -25, -17, false},
    {Sound::ShieldRise, 1.0, -22, -14, false}, {Sound::LevelComplete, 2.4, -21, -13, false},
    {Sound::GameOver, 2.8, -18, -10, false},   {Sound::Warning, 0.45, -14, -6, false},
    {Sound::Engine, 2.0, -16, -8, true},       {Sound::Drone, 8.0, -18, -10, true},
};

TEST(GeneratedSounds, EachLoadsWithItsLengthLoudnessAndCleanEnds) {
    for (const Design& design : kDesigns) {
        SCOPED_TRACE(soundFile(design.sound));
        platform::PcmSound pcm;
        std::string error;
        ASSERT_TRUE(platform::loadWav(soundFile(design.sound), pcm, error)) << error;
        EXPECT_EQ(pcm.channels, 1);
        EXPECT_EQ(pcm.sampleRate, 44100);
        const auto n = pcm.samples.size();
        EXPECT_EQ(n, static_cast<std::size_t>(std::lround(design.seconds * 44100)));

        double sum = 0.0;
        double steps = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            sum += static_cast<double>(pcm.samples[i]) * pcm.samples[i];
            if (i > 0) {
                steps += std::abs(pcm.samples[i] - pcm.samples[i - 1]);
            }
        }
        const double rmsDb = 20.0 * std::log10(std::sqrt(sum / n) / 32767.0);
        EXPECT_GT(rmsDb, design.minRmsDb);
        EXPECT_LT(rmsDb, design.maxRmsDb);

        const int seam = std::abs(pcm.samples.front() - pcm.samples.back());
        if (design.loop) {
            // Played round, the last sample runs into the first like any two neighbours do.
            EXPECT_LE(seam, 4.0 * steps / (n - 1));
        } else {
            EXPECT_EQ(pcm.samples.front(), 0);
            EXPECT_EQ(pcm.samples.back(), 0);
        }
    }
}

} // namespace
