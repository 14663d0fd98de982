// WAV files through SDL_LoadWAV_RW; only signed 16-bit little-endian PCM is taken.
#include "platform/WavFile.h"

#include <SDL.h>

#include <cstring>

namespace platform {

bool loadWav(const std::string& fileName, PcmSound& sound, std::string& error) {
    SDL_RWops* file = SDL_RWFromFile(fileName.c_str(), "rb");
    if (file == nullptr) {
        error = SDL_GetError();
        return false;
    }
    SDL_AudioSpec layout;
    Uint8* data = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV_RW(file, 1, &layout, &data, &length) == nullptr) {
        error = SDL_GetError();
        return false;
    }
    const bool pcm16 = layout.format == AUDIO_S16LSB && layout.channels > 0;
    if (pcm16) {
        sound.channels = layout.channels;
        sound.sampleRate = layout.freq;
        sound.samples.resize(length / sizeof(std::int16_t));
        std::memcpy(sound.samples.data(), data, sound.samples.size() * sizeof(std::int16_t));
    } else {
        error = "not 16-bit PCM";
    }
    SDL_FreeWAV(data);
    return pcm16;
}

} // namespace platform
