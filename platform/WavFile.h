// Reads a WAV file through SDL's own reader into plain 16-bit PCM samples, so the sound back end
// never parses files itself and never sees SDL.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct PcmSound {
    int channels = 0;
    int sampleRate = 0;                // frames per second
    std::vector<std::int16_t> samples; // interleaved by channel
};

// False with the reader's words in error when the file is missing, broken or not 16-bit PCM.
bool loadWav(const std::string& fileName, PcmSound& sound, std::string& error);

} // namespace platform
