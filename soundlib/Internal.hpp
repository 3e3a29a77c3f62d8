#pragma once

#include "fsound.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <xmp.h>

#include <cstddef>
#include <optional>
#include <vector>

// What the handles of fsound.h hold. The decoded sound (or the module's
// player) is null once the library has been closed: the husk lives on until
// its owner frees it.
struct FSoundSample {
    Mix_Chunk* chunk;
    bool loops;
};

struct FMusicModule {
    xmp_context player;
};

namespace fsound {

enum Error : int {
    kErrorNone = 0,
    kErrorAlreadyStarted = 1,
    kErrorNotStarted = 2,
    kErrorOutput = 3,
    kErrorPlay = 5,
    kErrorFileNotFound = 9,
    kErrorFileFormat = 10,
    kErrorFileDecode = 11,
    kErrorMemory = 12,
    kErrorBadArgument = 14,
    kErrorNoFreeChannel = 16,
};

// Records the failure for FSOUND_GetError and returns false, so that a
// failing call can end with `return fail(...)`.
bool fail(Error error);

bool isStarted();

// Mixing levels. The mixer adds the sample channels to the music and
// clamps the sum to 16 bits, so a limiter after it could only see a sum
// already clipped: everything is mixed at half level instead, and the
// stage after the mix (Output.cpp) doubles it back through a soft limiter.
// Fixed levels alone would have to leave room for the music's peak with the
// breath and the sizzle at once, and would leave the music quieter and a
// hit over the music's loudest bars barely above it. With the limiter the
// music plays near its full level, every hit stands out over it, and the
// rare moments when loud sounds meet are bent gently instead of clipped.
constexpr int kHeadroom = 2;
constexpr int kMusicVolume = 80 / kHeadroom;   // percent of the module player's level
constexpr int kSampleVolume = 112 / kHeadroom; // of MIX_MAX_VOLUME (128)

// The whole named file when its first bytes pass `recognise`; otherwise
// records file-not-found, unknown-format or out-of-memory and returns
// nothing.
using Recogniser = bool (*)(const unsigned char* head, std::size_t size);
std::optional<std::vector<unsigned char>> readRecognisedFile(const char* name,
                                                             Recogniser recognise);

// The channel side, set up by FSOUND_Init and taken down by FSOUND_Close.
void startChannels(int count);
void stopChannels();

// Releases the decoded data of every sample and module still held, while
// the mixer is still open, leaving their handles as husks.
void releaseSamples();
void releaseSongs();

} // namespace fsound
