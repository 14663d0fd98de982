// The game's sound on OpenAL Soft: one listener riding in the player's ship, a fixed pool of
// mono sources placed where things happen, two cockpit loops, and either the sound device or a
// loopback device that mixes in step with the frames into a WAV file.
#pragma once

#include "world/SoundSystem.h"

#include <cstdint>
#include <memory>
#include <string>

class OpenAlSound : public SoundSystem {
public:
    enum class Output { Device, File };
    struct Settings {
        Output output = Output::Device;
        std::string outFile; // Output::File: written when the sound system goes
        int volume = 100;    // 0..100
        bool muted = false;
    };

    static constexpr int kPoolSize = 32;   // one-shot sources; the oldest gives way when all play
    static constexpr int kMixRate = 44100; // frames per second of the loopback mix
    static constexpr int kMixChannels = 2; // stereo
    static constexpr float kNearDistance =
        30.0f; // world units: full loudness within the ship's size
    static constexpr float kFarDistance = 3000.0f; // world units: no quieter beyond this

    // Opens the output and loads every sound of data/sound/. Never fails the game: without a
    // device (or with OpenAL failing) one line goes to the debug channel and it stays silent.
    explicit OpenAlSound(const Settings& settings);
    ~OpenAlSound() override;
    OpenAlSound(const OpenAlSound&) = delete;
    OpenAlSound& operator=(const OpenAlSound&) = delete;

    bool isOpen() const;
    // One-shot sources playing now.
    int playingCount() const;
    // The stereo frames mixed so far (Output::File with no file name; a file is streamed to),
    // interleaved left, right.
    const std::int16_t* mixedSamples() const;
    std::size_t mixedFrames() const;

    void play(Sound sound, float x, float y, float z) override;
    void playFlat(Sound sound) override;
    void startLoop(Sound sound) override;
    void adjustLoop(Sound sound, float gain, float pitch) override;
    void stopLoop(Sound sound) override;
    void setListener(const float position[3], const float at[3], const float up[3]) override;
    void update(double seconds) override;
    void setMuted(bool muted) override;
    bool isMuted() const override { return bMuted; }
    void setPaused(bool paused) override;
    bool isPaused() const override { return bPaused; }

private:
    struct Device;

    void start(Sound sound, bool placed, float x, float y, float z);
    void applyGain();

    std::unique_ptr<Device> pDevice; // null when there is no output
    std::string szOutFile;
    float fVolume;
    bool bMuted;
    bool bPaused = false;
};
