// The canonical RIFF/WAVE layout: a 16-byte fmt chunk for PCM, then the data chunk.
#include "tools/datagen/WavWriter.h"

#include "tools/datagen/ByteSink.h"

#include <cmath>
#include <cstdint>

bool saveWav(const std::string& path, const std::vector<float>& samples, int sampleRate) {
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    ByteSink out;
    out.raw(reinterpret_cast<const std::uint8_t*>("RIFF"), 4);
    out.u32(36 + dataBytes);
    out.raw(reinterpret_cast<const std::uint8_t*>("WAVEfmt "), 8);
    out.u32(16);
    out.u16(1); // PCM
    out.u16(1); // mono
    out.u32(static_cast<std::uint32_t>(sampleRate));
    out.u32(static_cast<std::uint32_t>(sampleRate) * 2);
    out.u16(2);  // bytes per frame
    out.u16(16); // bits per sample
    out.raw(reinterpret_cast<const std::uint8_t*>("data"), 4);
    out.u32(dataBytes);
    for (float s : samples) {
        const float clipped = s > 1.0f ? 1.0f : (s < -1.0f ? -1.0f : s);
        const auto value = static_cast<std::int16_t>(std::lround(clipped * 32767.0f));
        out.u16(static_cast<std::uint16_t>(value));
    }
    return saveFile(path, out.bytes);
}
