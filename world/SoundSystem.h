// The sounds of the world as the game reports them: a sound played at a place, a loop kept
// running. This base plays nothing, so a world without sound plays on unchanged; the audio back
// end (audio/) derives from it and tests can plug in a recorder.
#pragma once

#include <cstddef>

// Every sound the game makes; each has one file under data/sound/.
enum class Sound {
    LaserShot,     // one of the player's guns
    EnemyShot,     // an enemy fighter launching a sausage
    Collision,     // two things touching
    Explosion,     // a projectile bursting
    ShieldHit,     // a shield taking a hit and holding
    ShieldBreak,   // a shield giving way
    ShieldRise,    // a new shield forming round a fighter
    LevelComplete, // jingle, once
    GameOver,      // jingle, once
    Warning,       // the energy bar is red
    Engine,        // loop: the ship's drive
    Drone,         // loop: the ambience of space
};
const std::size_t kSoundCount = static_cast<std::size_t>(Sound::Drone) + 1;

// The file of a sound, relative to the run directory ("data/sound/laser.wav").
const char* soundFile(Sound sound);

class SoundSystem {
public:
    virtual ~SoundSystem();

    // A one-shot sound at a world position.
    virtual void play(Sound sound, float x, float y, float z);
    // A one-shot sound heard inside the cockpit, not placed in the world (jingles, warnings).
    virtual void playFlat(Sound sound);
    // Loops sound inside the cockpit; starting a running loop or stopping a silent one does
    // nothing. Gain 0..1 and pitch (1 = as recorded) may change every frame.
    virtual void startLoop(Sound sound);
    virtual void adjustLoop(Sound sound, float gain, float pitch);
    virtual void stopLoop(Sound sound);
    // The ear: the player's position, view and up axes.
    virtual void setListener(const float position[3], const float at[3], const float up[3]);
    // Once per frame after the world moved, with the frame's seconds.
    virtual void update(double seconds);

    virtual void setMuted(bool muted);
    virtual bool isMuted() const;
    // Holds every sound where it is, loops included, and lets them go on from there; sounds
    // asked for meanwhile are not played.
    virtual void setPaused(bool paused);
    virtual bool isPaused() const;
};
