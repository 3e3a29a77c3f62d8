#include "Internal.hpp"

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <new>

namespace {

constexpr float kVersion = 3.74f;
constexpr int kMaxChannels = 1024;
// About 30 ms at 32000 Hz: short enough that a hit sounds with its hit.
constexpr int kBufferFrames = 1024;
constexpr int kOutputChannels = 2;
constexpr const char* kSilentDriver = "dummy";
// SDL's drivers that can play without a sound card of this machine.
constexpr const char* kSoundServerDrivers = "pulseaudio,pipewire";

int lastError = fsound::kErrorNone;
bool started = false;

bool hasSoundCard()
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/snd", error))
        if (entry.path().filename().string().rfind("controlC", 0) == 0)
            return true;
    return false;
}

// SDL tries its drivers in turn and keeps the first that starts. Without
// a sound card ALSA still starts, and fails only once the device is opened:
// the ALSA library prints its complaints on stderr, and closing SDL's audio
// then waits up to 100 ms for ALSA's device watcher; sndio, next in line,
// complains too. So on a machine without a card, unless SDL_AUDIODRIVER
// names a driver, only the sound servers are tried. Null leaves the choice
// to SDL.
const char* firstDriverChoice()
{
    const char* named = SDL_GetHint(SDL_HINT_AUDIODRIVER);
    if ((named && *named) || hasSoundCard())
        return nullptr;
    return kSoundServerDrivers;
}

// Opens SDL's audio and the mixer on the given driver, or on SDL's own
// choice (which honours SDL_AUDIODRIVER) when driver is null.
bool openOutput(int mixRate, const char* driver)
{
    if (driver)
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, driver, SDL_HINT_OVERRIDE);
    const bool audioUp = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (driver)
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    if (!audioUp)
        return false;
    if (Mix_OpenAudioDevice(mixRate, AUDIO_S16SYS, kOutputChannels, kBufferFrames, nullptr, 0) == 0)
        return true;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
}

// One sample of the half-level mix, doubled back. Up to the knee the
// sound passes unchanged; above it, a tanh curve of the same slope bends it
// towards full scale without ever reaching it. Only sums of loud moments
// get there, and for the few samples they last, a gentle curve sounds
// better than the flat tops of clipping.
Sint16 limited(Sint16 mixed)
{
    constexpr double kCeiling = 32767;
    constexpr double kKnee = 0.8 * kCeiling;
    const double level = static_cast<double>(mixed) * fsound::kHeadroom;
    const double size = std::abs(level);
    if (size <= kKnee)
        return static_cast<Sint16>(level);
    const double room = kCeiling - kKnee;
    // Truncated towards zero, so even the greatest sum stops one short of
    // full scale.
    return static_cast<Sint16>(
        std::copysign(kKnee + room * std::tanh((size - kKnee) / room), level));
}

// The mixer's post-mix stage, on the audio thread.
void SDLCALL limitMix(void*, Uint8* stream, int length)
{
    auto* samples = reinterpret_cast<Sint16*>(stream);
    for (int i = 0; i < length / static_cast<int>(sizeof(Sint16)); ++i)
        samples[i] = limited(samples[i]);
}

void closeOutput()
{
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

} // namespace

namespace fsound {

bool fail(Error error)
{
    lastError = error;
    return false;
}

bool isStarted()
{
    return started;
}

std::optional<std::vector<unsigned char>> readRecognisedFile(const char* name, Recogniser recognise)
{
    constexpr std::streamsize kHeadSize = 32;
    std::ifstream file(name, std::ios::binary);
    if (!file) {
        fail(kErrorFileNotFound);
        return std::nullopt;
    }
    try {
        std::vector<unsigned char> bytes(kHeadSize);
        file.read(reinterpret_cast<char*>(bytes.data()), kHeadSize);
        bytes.resize(static_cast<std::size_t>(file.gcount()));
        if (!recognise(bytes.data(), bytes.size())) {
            fail(kErrorFileFormat);
            return std::nullopt;
        }
        std::array<char, 16384> chunk;
        while (file) {
            file.read(chunk.data(), chunk.size());
            bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + file.gcount());
        }
        return bytes;
    } catch (const std::bad_alloc&) {
        fail(kErrorMemory);
        return std::nullopt;
    }
}

} // namespace fsound

float FSOUND_GetVersion(void)
{
    return kVersion;
}

bool FSOUND_Init(int mixRate, int maxChannels, unsigned int flags)
{
    if (started)
        return fsound::fail(fsound::kErrorAlreadyStarted);
    if (mixRate <= 0 || maxChannels < 1 || maxChannels > kMaxChannels || flags != 0)
        return fsound::fail(fsound::kErrorBadArgument);
    // SDL would otherwise turn Ctrl+C into an event nobody reads, and the
    // game could no longer be interrupted from its terminal.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // A machine without a usable sound device still runs the game, on an
    // output that discards the sound but keeps time.
    if (!openOutput(mixRate, firstDriverChoice()) && !openOutput(mixRate, kSilentDriver))
        return fsound::fail(fsound::kErrorOutput);
    if (Mix_AllocateChannels(maxChannels) != maxChannels) {
        closeOutput();
        return fsound::fail(fsound::kErrorMemory);
    }
    Mix_Volume(-1, fsound::kSampleVolume);
    Mix_SetPostMix(limitMix, nullptr);
    // A decoder that cannot be had only makes its files fail to load.
    Mix_Init(MIX_INIT_MP3);
    fsound::startChannels(maxChannels);
    started = true;
    return true;
}

int FSOUND_GetError(void)
{
    return lastError;
}

void FSOUND_Close(void)
{
    if (!started)
        return;
    fsound::releaseSongs();
    fsound::releaseSamples();
    fsound::stopChannels();
    closeOutput();
    started = false;
}
