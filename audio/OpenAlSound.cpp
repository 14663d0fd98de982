// OpenAL Soft behind the game's sound interface: device or loopback set-up, buffers from the
// sound files, the source pool with its give-way rule, the loops, and the WAV file of the mix.
#include "audio/OpenAlSound.h"

#include "platform/Files.h"
#include "platform/Platform.h"
#include "platform/WavFile.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <dlfcn.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const float kNoRolloff = 0.0f;
const float kRolloff = 1.0f;
const std::size_t kMixReserveFrames = 4096; // one frame of mixing, grown if a frame is longer
const std::size_t kMixPieceFrames = 256;    // about 6 ms

// How far each sound carries, as a multiple of the near distance: a burst is heard at full
// strength well beyond the ship's size, a laser only close by.
const float kReach[kSoundCount] = {
    1.0f,                         // laser
    2.0f,                         // enemy shot
    2.0f,                         // collision
    5.0f,                         // explosion
    2.0f,                         // shield hit
    3.0f,                         // shield break
    2.0f,                         // shield rise
    1.0f, 1.0f, 1.0f, 1.0f, 1.0f, // cockpit sounds are not placed
};

// ALSA's complaints (a machine without a sound card has many) go to the game's log instead of
// the player's terminal.
extern "C" void alsaComplaint(const char* file, int line, const char* function, int,
                              const char* format, ...) {
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    platform::debugPrintf("OpenAlSound: ALSA %s:%d (%s): %s\n", file, line, function, text);
}

// The sound libraries talk to standard error on their own. OpenAL Soft is told to keep its log to
// itself (unless a developer asked for it), and ALSA, which OpenAL Soft loads when it looks for a
// device, gets a handler of ours. ALSA stays loaded for the rest of the run, so the handler holds.
void quietSoundLibraries() {
    setenv("ALSOFT_LOGLEVEL", "0", 0);
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_LOCAL);
    if (alsa == nullptr) {
        return; // no ALSA, nothing to quieten
    }
    auto setHandler = reinterpret_cast<int (*)(Handler)>(dlsym(alsa, "snd_lib_error_set_handler"));
    if (setHandler != nullptr) {
        setHandler(alsaComplaint);
    }
}

void writeLittle(std::FILE* file, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        std::fputc(static_cast<int>((value >> (8 * i)) & 0xFFu), file);
    }
}

// The canonical 44-byte header of 16-bit PCM; written first with the sizes the file has so far
// and again at the end with the final ones.
void writeWavHeader(std::FILE* file, std::uint32_t dataBytes, int channels, int rate) {
    const std::uint32_t blockAlign = static_cast<std::uint32_t>(channels * 2);
    std::fputs("RIFF", file);
    writeLittle(file, 36 + dataBytes, 4);
    std::fputs("WAVEfmt ", file);
    writeLittle(file, 16, 4);
    writeLittle(file, 1, 2); // PCM
    writeLittle(file, static_cast<std::uint32_t>(channels), 2);
    writeLittle(file, static_cast<std::uint32_t>(rate), 4);
    writeLittle(file, static_cast<std::uint32_t>(rate) * blockAlign, 4);
    writeLittle(file, blockAlign, 2);
    writeLittle(file, 16, 2);
    std::fputs("data", file);
    writeLittle(file, dataBytes, 4);
}

} // namespace

struct OpenAlSound::Device {
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    LPALCRENDERSAMPLESSOFT renderSamples = nullptr; // loopback only
    std::array<ALuint, kSoundCount> buffers{};
    std::array<ALuint, kPoolSize> pool{};
    std::array<std::uint64_t, kPoolSize> startedAt{}; // play counter at each source's start
    std::uint64_t plays = 0;
    std::array<ALuint, kSoundCount> loops{}; // a loop's source, 0 while it is not running
    std::vector<std::int16_t> mix; // kept in memory only when there is no file to stream to
    std::vector<std::int16_t> chunk;
    std::FILE* out = nullptr; // the WAV file the mix streams into, frame by frame
    std::uint32_t outBytes = 0;
    bool outFailed = false;
    double pendingFrames = 0.0; // fraction of a frame carried to the next update

    ~Device() {
        if (context != nullptr) {
            for (ALuint source : loops) {
                if (source != 0) {
                    alDeleteSources(1, &source);
                }
            }
            alDeleteSources(kPoolSize, pool.data());
            alDeleteBuffers(static_cast<ALsizei>(kSoundCount), buffers.data());
            alcMakeContextCurrent(nullptr);
            alcDestroyContext(context);
        }
        if (device != nullptr) {
            alcCloseDevice(device);
        }
    }
};

OpenAlSound::OpenAlSound(const Settings& settings)
    : szOutFile(settings.outFile), fVolume(static_cast<float>(settings.volume) / 100.0f),
      bMuted(settings.muted) {
    quietSoundLibraries();
    auto device = std::make_unique<Device>();
    const char* failure = nullptr;
    if (settings.output == Output::File) {
        auto openLoopback = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
            alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
        device->renderSamples = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(
            alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
        if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback") || openLoopback == nullptr ||
            device->renderSamples == nullptr) {
            failure = "no loopback mixing (ALC_SOFT_loopback)";
        } else if ((device->device = openLoopback(nullptr)) == nullptr) {
            failure = "the loopback device did not open";
        } else {
            const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                                         ALC_STEREO_SOFT,
                                         ALC_FORMAT_TYPE_SOFT,
                                         ALC_SHORT_SOFT,
                                         ALC_FREQUENCY,
                                         kMixRate,
                                         ALC_HRTF_SOFT,
                                         ALC_FALSE,
                                         0};
            device->context = alcCreateContext(device->device, attributes);
        }
    } else if ((device->device = alcOpenDevice(nullptr)) == nullptr) {
        failure = "no audio device";
    } else {
        device->context = alcCreateContext(device->device, nullptr);
    }
    if (failure == nullptr &&
        (device->context == nullptr || alcMakeContextCurrent(device->context) == ALC_FALSE)) {
        failure = "OpenAL made no context";
    }
    if (failure != nullptr) {
        platform::debugPrintf("OpenAlSound: %s; the game plays on without sound\n", failure);
        return; // the half-made device is released here
    }

    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    alGenBuffers(static_cast<ALsizei>(kSoundCount), device->buffers.data());
    for (std::size_t i = 0; i < kSoundCount; ++i) {
        platform::PcmSound pcm;
        std::string error;
        const char* file = soundFile(static_cast<Sound>(i));
        if (!platform::loadWav(file, pcm, error) || pcm.channels != 1) {
            // Only mono buffers can be placed in space; a missing sound stays silent.
            platform::debugPrintf("OpenAlSound: %s not loaded (%s)\n", file,
                                  error.empty() ? "not mono" : error.c_str());
            continue;
        }
        alBufferData(device->buffers[i], AL_FORMAT_MONO16, pcm.samples.data(),
                     static_cast<ALsizei>(pcm.samples.size() * sizeof(std::int16_t)),
                     pcm.sampleRate);
    }
    alGenSources(kPoolSize, device->pool.data());
    for (ALuint source : device->pool) {
        alSourcef(source, AL_MAX_DISTANCE, kFarDistance);
    }
    device->chunk.resize(kMixReserveFrames * kMixChannels);
    if (device->renderSamples != nullptr && !szOutFile.empty()) {
        // Streamed as it is mixed, so a long run never holds its whole sound in memory.
        std::string why;
        device->out = platform::openOutput(szOutFile, why);
        if (device->out == nullptr) {
            // Nothing is kept then either: the mix would only grow for as long as the game runs.
            device->outFailed = true;
            platform::warn("cannot write the sound to %s: %s", szOutFile.c_str(), why.c_str());
        } else {
            writeWavHeader(device->out, 0, kMixChannels, kMixRate);
        }
    }
    pDevice = std::move(device);
    applyGain();
}

OpenAlSound::~OpenAlSound() {
    if (pDevice == nullptr || pDevice->out == nullptr) {
        return;
    }
    Device& d = *pDevice;
    // The final sizes, where the file can be gone back into (not a pipe or /dev/null).
    if (!d.outFailed && platform::isSeekable(d.out) && std::fseek(d.out, 0, SEEK_SET) == 0) {
        writeWavHeader(d.out, d.outBytes, kMixChannels, kMixRate);
    }
    const bool written = std::fclose(d.out) == 0;
    d.out = nullptr;
    if (!written && !d.outFailed) {
        platform::warn("cannot write the sound to %s: %s", szOutFile.c_str(), std::strerror(errno));
    }
}

bool OpenAlSound::isOpen() const {
    return pDevice != nullptr;
}

int OpenAlSound::playingCount() const {
    if (pDevice == nullptr) {
        return 0;
    }
    int playing = 0;
    for (ALuint source : pDevice->pool) {
        ALint state = AL_STOPPED;
        alGetSourcei(source, AL_SOURCE_STATE, &state);
        playing += state == AL_PLAYING ? 1 : 0;
    }
    return playing;
}

const std::int16_t* OpenAlSound::mixedSamples() const {
    return pDevice != nullptr ? pDevice->mix.data() : nullptr;
}

std::size_t OpenAlSound::mixedFrames() const {
    return pDevice != nullptr ? pDevice->mix.size() / kMixChannels : 0;
}

void OpenAlSound::start(Sound sound, bool placed, float x, float y, float z) {
    if (pDevice == nullptr || bPaused) {
        return;
    }
    Device& d = *pDevice;
    // A free source if there is one; otherwise the one that started longest ago gives way.
    int chosen = 0;
    for (int i = 0; i < kPoolSize; ++i) {
        ALint state = AL_STOPPED;
        alGetSourcei(d.pool[i], AL_SOURCE_STATE, &state);
        if (state != AL_PLAYING) {
            chosen = i;
            break;
        }
        if (d.startedAt[i] < d.startedAt[chosen]) {
            chosen = i;
        }
    }
    const ALuint source = d.pool[chosen];
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, static_cast<ALint>(d.buffers[static_cast<std::size_t>(sound)]));
    alSourcei(source, AL_SOURCE_RELATIVE, placed ? AL_FALSE : AL_TRUE);
    alSourcef(source, AL_ROLLOFF_FACTOR, placed ? kRolloff : kNoRolloff);
    alSourcef(source, AL_REFERENCE_DISTANCE,
              kNearDistance * kReach[static_cast<std::size_t>(sound)]);
    alSource3f(source, AL_POSITION, placed ? x : 0.0f, placed ? y : 0.0f, placed ? z : 0.0f);
    alSourcePlay(source);
    d.startedAt[chosen] = ++d.plays;
}

void OpenAlSound::play(Sound sound, float x, float y, float z) {
    start(sound, true, x, y, z);
}

void OpenAlSound::playFlat(Sound sound) {
    start(sound, false, 0.0f, 0.0f, 0.0f);
}

void OpenAlSound::startLoop(Sound sound) {
    if (pDevice == nullptr) {
        return;
    }
    ALuint& source = pDevice->loops[static_cast<std::size_t>(sound)];
    if (source != 0) {
        return;
    }
    alGenSources(1, &source);
    alSourcei(source, AL_BUFFER,
              static_cast<ALint>(pDevice->buffers[static_cast<std::size_t>(sound)]));
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSourcef(source, AL_ROLLOFF_FACTOR, kNoRolloff);
    alSourcei(source, AL_LOOPING, AL_TRUE);
    alSourcePlay(source);
    if (bPaused) {
        alSourcePause(source); // to go on with the rest
    }
}

void OpenAlSound::adjustLoop(Sound sound, float gain, float pitch) {
    if (pDevice == nullptr) {
        return;
    }
    const ALuint source = pDevice->loops[static_cast<std::size_t>(sound)];
    if (source != 0) {
        alSourcef(source, AL_GAIN, gain);
        alSourcef(source, AL_PITCH, pitch);
    }
}

void OpenAlSound::stopLoop(Sound sound) {
    if (pDevice == nullptr) {
        return;
    }
    ALuint& source = pDevice->loops[static_cast<std::size_t>(sound)];
    if (source != 0) {
        alSourceStop(source);
        alDeleteSources(1, &source);
        source = 0;
    }
}

void OpenAlSound::setListener(const float position[3], const float at[3], const float up[3]) {
    if (pDevice == nullptr) {
        return;
    }
    const ALfloat orientation[6] = {at[0], at[1], at[2], up[0], up[1], up[2]};
    alListener3f(AL_POSITION, position[0], position[1], position[2]);
    alListenerfv(AL_ORIENTATION, orientation);
}

void OpenAlSound::update(double seconds) {
    if (pDevice == nullptr || pDevice->renderSamples == nullptr || seconds <= 0.0) {
        return; // a sound device mixes on its own
    }
    Device& d = *pDevice;
    // Whole frames of mix per game frame; the fractions add up, so the file keeps the game's time.
    const double exact = d.pendingFrames + seconds * kMixRate;
    const std::size_t frames = static_cast<std::size_t>(exact);
    d.pendingFrames = exact - static_cast<double>(frames);
    if (d.chunk.size() < frames * kMixChannels) {
        d.chunk.resize(frames * kMixChannels);
    }
    // In short pieces: OpenAL ramps a changed gain over one mixing call, so muting fades out
    // within a few milliseconds instead of over the whole frame.
    for (std::size_t done = 0; done < frames; done += kMixPieceFrames) {
        const std::size_t piece = std::min(kMixPieceFrames, frames - done);
        d.renderSamples(d.device, d.chunk.data() + done * kMixChannels,
                        static_cast<ALCsizei>(piece));
    }
    if (d.out == nullptr) {
        if (!d.outFailed) {
            d.mix.insert(d.mix.end(), d.chunk.begin(), d.chunk.begin() + frames * kMixChannels);
        }
        return;
    }
    if (d.outFailed) {
        return;
    }
    for (std::size_t i = 0; i < frames * kMixChannels; ++i) {
        writeLittle(d.out, static_cast<std::uint16_t>(d.chunk[i]), 2);
    }
    d.outBytes += static_cast<std::uint32_t>(frames * kMixChannels * sizeof(std::int16_t));
    if (std::ferror(d.out) != 0) {
        // Said once: a full disk stays full for the rest of the run.
        d.outFailed = true;
        platform::warn("cannot write the sound to %s: %s", szOutFile.c_str(), std::strerror(errno));
    }
}

void OpenAlSound::setMuted(bool muted) {
    bMuted = muted;
    applyGain();
}

void OpenAlSound::setPaused(bool paused) {
    bPaused = paused;
    if (pDevice == nullptr) {
        return;
    }
    // Pausing stops only what plays, and going on starts only what was paused, so a finished
    // one-shot stays finished.
    const ALint from = paused ? AL_PLAYING : AL_PAUSED;
    auto follow = [from, paused](ALuint source) {
        ALint state = AL_STOPPED;
        if (source != 0) {
            alGetSourcei(source, AL_SOURCE_STATE, &state);
        }
        if (state == from) {
            paused ? alSourcePause(source) : alSourcePlay(source);
        }
    };
    for (ALuint source : pDevice->pool) {
        follow(source);
    }
    for (ALuint source : pDevice->loops) {
        follow(source);
    }
}

void OpenAlSound::applyGain() {
    if (pDevice != nullptr) {
        alListenerf(AL_GAIN, bMuted ? 0.0f : fVolume);
    }
}
