#pragma once

#include "fsound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstddef>

// What the handles of fsound.h hold. The decoded sound is null once the
// library has been closed: the husk lives on until its owner frees it.
struct FSoundSample {
    Mix_Chunk* chunk;
    bool loops;
};

struct FMusicModule {
    Mix_Music* music;
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

// Opens the named file for a decoder when its first bytes pass `recognise`;
// otherwise records file-not-found or unknown-format and returns null.
using Recogniser = bool (*)(const unsigned char* head, std::size_t size);
SDL_RWops* openRecognisedFile(const char* name, Recogniser recognise);

// The channel side, set up by FSOUND_Init and taken down by FSOUND_Close.
void startChannels(int count);
void stopChannels();

// Releases the decoded data of every sample and module still held, while
// the mixer is still open, leaving their handles as husks.
void releaseSamples();
void releaseSongs();

} // namespace fsound
