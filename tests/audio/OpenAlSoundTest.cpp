// OpenAL Soft behind the game's sound interface, heard through the loopback mix: distance makes
// a burst quieter, a full pool lets the oldest sound go, a closed sound gives its memory back, and
// a machine without a sound device gets one line and a silent game that plays on.
#include "audio/OpenAlSound.h"
#include "app/Game.h"
#include "platform/Clock.h"
#include "platform/HeadlessWindow.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

// No playback back end at all, as on a machine without sound hardware; set before OpenAL reads
// its configuration. The loopback mix needs none.
const int kNoDrivers = setenv("ALSOFT_DRIVERS", "none-here", 1);

OpenAlSound::Settings loopback() {
    OpenAlSound::Settings settings;
    settings.output = OpenAlSound::Output::File; // no file name: the mix stays in memory
    return settings;
}

// The loudness (RMS) of a second of mix with one explosion straight ahead of the ear.
double explosionHeardAt(float distance) {
    OpenAlSound sound(loopback());
    EXPECT_TRUE(sound.isOpen());
    sound.play(Sound::Explosion, 0.0f, 0.0f, -distance);
    for (int frame = 0; frame < 20; ++frame) {
        sound.update(0.05);
    }
    EXPECT_EQ(sound.mixedFrames(), 44100u);
    double sum = 0.0;
    for (std::size_t i = 0; i < 44100u * OpenAlSound::kMixChannels; ++i) {
        sum += static_cast<double>(sound.mixedSamples()[i]) * sound.mixedSamples()[i];
    }
    return std::sqrt(sum / (44100.0 * OpenAlSound::kMixChannels));
}

TEST(OpenAlMix, AFarExplosionIsAFaintRumbleAndAFullPoolLetsTheOldestSoundGo) {
    const double near = explosionHeardAt(200.0f);
    const double far = explosionHeardAt(2000.0f);
    EXPECT_GT(far, 0.0);
    EXPECT_LT(far, near / 4.0);

    OpenAlSound sound(loopback());
    for (int i = 0; i < OpenAlSound::kPoolSize + 8; ++i) {
        sound.play(Sound::Explosion, 0.0f, 0.0f, -100.0f);
    }
    sound.update(0.05);
    EXPECT_EQ(sound.playingCount(), OpenAlSound::kPoolSize);
}

// Zero crossings of a second of the engine hum alone, at full gain: they count its pitch.
int engineCrossingsAt(float pitch) {
    OpenAlSound sound(loopback());
    sound.startLoop(Sound::Engine);
    sound.adjustLoop(Sound::Engine, 1.0f, pitch);
    for (int frame = 0; frame < 20; ++frame) {
        sound.update(0.05);
    }
    int crossings = 0;
    const std::int16_t* left = sound.mixedSamples();
    for (std::size_t i = OpenAlSound::kMixChannels;
         i < sound.mixedFrames() * OpenAlSound::kMixChannels; i += OpenAlSound::kMixChannels) {
        crossings += (left[i - OpenAlSound::kMixChannels] < 0) != (left[i] < 0);
    }
    return crossings;
}

TEST(OpenAlMix, TheEngineHumIsHeardAtThePitchItIsGiven) {
    const int rest = engineCrossingsAt(0.75f);
    const int top = engineCrossingsAt(1.5f);
    EXPECT_GT(rest, 0);
    EXPECT_NEAR(static_cast<double>(top) / rest, 2.0, 0.3) << rest << " then " << top;
}

TEST(OpenAlMix, PausedEverySoundHoldsWhereItIsAndNoNewOneStarts) {
    OpenAlSound sound(loopback());
    sound.startLoop(Sound::Drone);
    sound.play(Sound::Explosion, 0.0f, 0.0f, -100.0f);
    sound.update(0.25);
    sound.setPaused(true);
    sound.play(Sound::LaserShot, 0.0f, 0.0f, -10.0f);
    sound.update(0.5);
    EXPECT_EQ(sound.playingCount(), 0);
    sound.setPaused(false);
    sound.update(0.25);
    EXPECT_EQ(sound.playingCount(), 1) << "the explosion goes on; the shot never started";

    // The loudest sample of each stretch (a few milliseconds left for the fade at the pause);
    // silence is within the mixer's last bit of dither.
    auto peak = [&sound](double from, double to) {
        int loudest = 0;
        for (std::size_t i = static_cast<std::size_t>(from * 44100) * OpenAlSound::kMixChannels;
             i < static_cast<std::size_t>(to * 44100) * OpenAlSound::kMixChannels; ++i) {
            loudest = std::max(loudest, std::abs(static_cast<int>(sound.mixedSamples()[i])));
        }
        return loudest;
    };
    const int dither = 2;
    EXPECT_GT(peak(0.0, 0.25), 100);
    EXPECT_LE(peak(0.27, 0.75), dither);
    EXPECT_GT(peak(0.77, 1.0), 100);
}

TEST(OpenAlMix, OpenedAndClosedAgainAndAgainItLeavesNoMemoryBehind) {
    // A device left open when the sound closes would keep the device and about 100 KB for good.
    OpenAlSound(loopback()).isOpen(); // OpenAL sets itself up once
    const long before = static_cast<long>(mallinfo2().uordblks);
    for (int i = 0; i < 20; ++i) {
        EXPECT_TRUE(OpenAlSound(loopback()).isOpen());
    }
    EXPECT_LT(static_cast<long>(mallinfo2().uordblks) - before, 1L << 20);
}

TEST(NoSoundDevice, OneLineAndTheGamePlaysOnSilently) {
    ASSERT_EQ(kNoDrivers, 0);
    std::string log;
    platform::setDebugObserver([&log](const char* text) { log += text; });
    platform::Clock clock = platform::Clock::makeVirtual();
    platform::HeadlessWindow::Options windowOptions;
    windowOptions.frameLimit = 5;
    windowOptions.frameSeconds = 0.05;
    platform::HeadlessWindow window(clock, windowOptions);
    LaunchOptions options;
    options.audio = LaunchOptions::Audio::Device;
    const int exitCode = WinMain(window, clock, options);
    platform::setDebugObserver(nullptr);

    EXPECT_EQ(exitCode, kExitNormal);
    EXPECT_EQ(window.framesDrawn(), 5);
    const std::string line = "OpenAlSound: no audio device; the game plays on without sound\n";
    const auto first = log.find(line);
    ASSERT_NE(first, std::string::npos) << log;
    EXPECT_EQ(log.find(line, first + 1), std::string::npos);
    EXPECT_NE(log.find("done            ---------------------\n"), std::string::npos);
}

} // namespace
