#include "Internal.hpp"

#include <array>
#include <cstdint>
#include <cstring>
#include <new>
#include <unordered_set>

namespace {

// A handle is the channel index in its low bits and the channel's play
// count above them, so a handle kept past its playback no longer matches
// once the channel has started something else.
constexpr int kIndexBits = 10;
constexpr int kIndexMask = (1 << kIndexBits) - 1;
constexpr std::uint32_t kGenerationMask = (1u << (31 - kIndexBits)) - 1;

// Never reset, not even by FSOUND_Close, so that handles from before a
// restart stay stale after it.
std::array<std::uint32_t, kIndexMask + 1> generations{};
int channelCount = 0;

std::unordered_set<FSoundSample*> liveSamples;

bool isLive(FSoundSample* sample)
{
    return sample && liveSamples.count(sample) != 0;
}

int handleFor(int index)
{
    return static_cast<int>((generations[index] & kGenerationMask) << kIndexBits) | index;
}

// The channel index of a handle that still names its playback, or -1.
int currentIndex(int handle)
{
    if (handle < 0)
        return -1;
    const int index = handle & kIndexMask;
    if (index >= channelCount || handleFor(index) != handle)
        return -1;
    return index;
}

bool looksLikeMp3(const unsigned char* head, std::size_t size)
{
    if (size >= 3 && std::memcmp(head, "ID3", 3) == 0)
        return true;
    // An MPEG audio frame: eleven sync bits, then a layer other than the reserved one.
    return size >= 2 && head[0] == 0xFF && (head[1] & 0xE0) == 0xE0 && (head[1] & 0x06) != 0;
}

// The loop setting a mode asks for: 1 loop, 0 once, -1 no change, -2 both.
int loopRequest(unsigned int mode)
{
    const bool loop = mode & FSOUND_LOOP_NORMAL;
    const bool once = mode & FSOUND_LOOP_OFF;
    if (loop && once)
        return -2;
    return loop ? 1 : once ? 0 : -1;
}

} // namespace

namespace fsound {

void startChannels(int count)
{
    channelCount = count;
}

void stopChannels()
{
    Mix_HaltChannel(-1);
    channelCount = 0;
}

void releaseSamples()
{
    Mix_HaltChannel(-1);
    for (FSoundSample* sample : liveSamples) {
        Mix_FreeChunk(sample->chunk);
        sample->chunk = nullptr;
    }
}

} // namespace fsound

FSoundSample* FSOUND_Sample_Load(int index, const char* name, unsigned int mode, int offset,
                                 int length)
{
    using namespace fsound;
    if (!isStarted()) {
        fail(kErrorNotStarted);
        return nullptr;
    }
    if (index != FSOUND_UNMANAGED || !name || offset != 0 || length != 0
        || loopRequest(mode) == -2) {
        fail(kErrorBadArgument);
        return nullptr;
    }
    const auto bytes = readRecognisedFile(name, looksLikeMp3);
    if (!bytes)
        return nullptr;
    SDL_RWops* source = SDL_RWFromConstMem(bytes->data(), static_cast<int>(bytes->size()));
    if (!source) {
        fail(kErrorMemory);
        return nullptr;
    }
    // Closed here, not by the mixer: the mixer leaves its source open when
    // it refuses a file, though asked to close it. A loaded sample is
    // decoded whole and needs its source no more.
    Mix_Chunk* chunk = Mix_LoadWAV_RW(source, 0);
    SDL_RWclose(source);
    if (!chunk) {
        fail(kErrorFileDecode);
        return nullptr;
    }
    auto* sample = new (std::nothrow) FSoundSample{chunk, loopRequest(mode) == 1};
    if (!sample) {
        Mix_FreeChunk(chunk);
        fail(kErrorMemory);
        return nullptr;
    }
    liveSamples.insert(sample);
    return sample;
}

bool FSOUND_Sample_SetMode(FSoundSample* sample, unsigned int mode)
{
    const int request = loopRequest(mode);
    if (!isLive(sample) || request == -2)
        return fsound::fail(fsound::kErrorBadArgument);
    if (request >= 0)
        sample->loops = request == 1;
    return true;
}

void FSOUND_Sample_Free(FSoundSample* sample)
{
    // Unknown pointers, null and a second free are refused rather than
    // handed on to the mixer.
    if (!isLive(sample)) {
        fsound::fail(fsound::kErrorBadArgument);
        return;
    }
    liveSamples.erase(sample);
    // The mixer stops every channel still playing the chunk before it goes.
    if (sample->chunk)
        Mix_FreeChunk(sample->chunk);
    delete sample;
}

// Why a sample cannot start now, or kErrorNone when it can.
static fsound::Error playRefusal(int channel, FSoundSample* sample)
{
    if (!fsound::isStarted())
        return fsound::kErrorNotStarted;
    if (channel != FSOUND_FREE || !isLive(sample) || !sample->chunk)
        return fsound::kErrorBadArgument;
    return fsound::kErrorNone;
}

int FSOUND_PlaySound(int channel, FSoundSample* sample)
{
    using namespace fsound;
    constexpr int kNoPlayback = -1;
    const Error refusal = playRefusal(channel, sample);
    if (refusal != kErrorNone) {
        fail(refusal);
        return kNoPlayback;
    }
    const int index = Mix_PlayChannel(-1, sample->chunk, sample->loops ? -1 : 0);
    if (index < 0 || index >= channelCount) {
        fail(Mix_Playing(-1) >= channelCount ? kErrorNoFreeChannel : kErrorPlay);
        return kNoPlayback;
    }
    ++generations[index];
    return handleFor(index);
}

bool FSOUND_IsPlaying(int channel)
{
    if (!fsound::isStarted())
        return fsound::fail(fsound::kErrorNotStarted);
    const int index = currentIndex(channel);
    return index >= 0 && Mix_Playing(index) != 0;
}

bool FSOUND_StopSound(int channel)
{
    if (!fsound::isStarted())
        return fsound::fail(fsound::kErrorNotStarted);
    const int index = currentIndex(channel);
    if (index < 0 || Mix_Playing(index) == 0)
        return false;
    Mix_HaltChannel(index);
    return true;
}
