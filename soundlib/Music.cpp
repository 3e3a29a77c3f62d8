#include "Internal.hpp"

#include <cstring>
#include <new>
#include <unordered_set>

namespace {

std::unordered_set<FMusicModule*> liveSongs;
FMusicModule* playingSong = nullptr;

bool isLive(FMusicModule* module)
{
    return module && liveSongs.count(module) != 0;
}

bool looksLikeXm(const unsigned char* head, std::size_t size)
{
    static const char kSignature[] = "Extended Module: ";
    constexpr std::size_t kLength = sizeof kSignature - 1;
    return size >= kLength && std::memcmp(head, kSignature, kLength) == 0;
}

} // namespace

namespace fsound {

void releaseSongs()
{
    Mix_HaltMusic();
    playingSong = nullptr;
    for (FMusicModule* module : liveSongs) {
        Mix_FreeMusic(module->music);
        module->music = nullptr;
    }
}

} // namespace fsound

FMusicModule* FMUSIC_LoadSong(const char* name)
{
    using namespace fsound;
    if (!isStarted()) {
        fail(kErrorNotStarted);
        return nullptr;
    }
    if (!name) {
        fail(kErrorBadArgument);
        return nullptr;
    }
    SDL_RWops* file = openRecognisedFile(name, looksLikeXm);
    if (!file)
        return nullptr;
    Mix_Music* music = Mix_LoadMUSType_RW(file, MUS_MOD, 1);
    if (!music) {
        fail(kErrorFileDecode);
        return nullptr;
    }
    auto* module = new (std::nothrow) FMusicModule{music};
    if (!module) {
        Mix_FreeMusic(music);
        fail(kErrorMemory);
        return nullptr;
    }
    liveSongs.insert(module);
    return module;
}

bool FMUSIC_PlaySong(FMusicModule* module)
{
    using namespace fsound;
    if (!isStarted())
        return fail(kErrorNotStarted);
    if (!isLive(module) || !module->music)
        return fail(kErrorBadArgument);
    constexpr int kForever = -1;
    if (Mix_PlayMusic(module->music, kForever) != 0)
        return fail(kErrorPlay);
    playingSong = module;
    return true;
}

bool FMUSIC_StopSong(FMusicModule* module)
{
    using namespace fsound;
    if (!isStarted())
        return fail(kErrorNotStarted);
    if (!isLive(module))
        return fail(kErrorBadArgument);
    if (module == playingSong) {
        Mix_HaltMusic();
        playingSong = nullptr;
    }
    return true;
}

bool FMUSIC_FreeSong(FMusicModule* module)
{
    if (!isLive(module))
        return fsound::fail(fsound::kErrorBadArgument);
    liveSongs.erase(module);
    if (module == playingSong)
        playingSong = nullptr;
    // The mixer stops the module first if it is the one playing.
    if (module->music)
        Mix_FreeMusic(module->music);
    delete module;
    return true;
}
