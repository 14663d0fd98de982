// The silent sound system and the sound file table.
#include "world/SoundSystem.h"

namespace {

const char* const kSoundFiles[kSoundCount] = {
    "data/sound/laser.wav",       "data/sound/enemy_shot.wav",     "data/sound/collision.wav",
    "data/sound/explosion.wav",   "data/sound/shield_hit.wav",     "data/sound/shield_break.wav",
    "data/sound/shield_rise.wav", "data/sound/level_complete.wav", "data/sound/game_over.wav",
    "data/sound/warning.wav",     "data/sound/engine.wav",         "data/sound/drone.wav",
};

} // namespace

const char* soundFile(Sound sound) {
    return kSoundFiles[static_cast<std::size_t>(sound)];
}

SoundSystem::~SoundSystem() = default;

void SoundSystem::play(Sound, float, float, float) {}
void SoundSystem::playFlat(Sound) {}
void SoundSystem::startLoop(Sound) {}
void SoundSystem::adjustLoop(Sound, float, float) {}
void SoundSystem::stopLoop(Sound) {}
void SoundSystem::setListener(const float*, const float*, const float*) {}
void SoundSystem::update(double) {}
void SoundSystem::setMuted(bool) {}
bool SoundSystem::isMuted() const {
    return false;
}
void SoundSystem::setPaused(bool) {}
bool SoundSystem::isPaused() const {
    return false;
}
