#include "Internal.hpp"

#include <cstring>
#include <new>
#include <unordered_set>

// Modules play through libxmp behind the mixer's music hook rather than
// through the mixer's own module decoder, which restarts a module from its
// first order when it ends; libxmp goes on at the module's restart
// position, as tracker players do, and keeps the module's stereo panning.
//
// The hook's argument is the module playing, and it is only ever changed
// through Mix_HookMusic, which holds the mixer's lock: once a module is
// unhooked, the audio thread no longer touches its player.

namespace {

// The module's own panning, as written, rather than libxmp's narrower
// default.
constexpr int kStereoSeparation = 100;

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

// Runs on the audio thread: the music fills the buffer, and the mixer then
// adds the sample channels on top.
void SDLCALL renderSong(void* song, Uint8* stream, int length)
{
    auto* module = static_cast<FMusicModule*>(song);
    // A loop count of 0 plays on for ever, past the end to the restart position.
    constexpr int kForever = 0;
    if (xmp_play_buffer(module->player, stream, length, kForever) != 0)
        std::memset(stream, 0, static_cast<std::size_t>(length));
}

void stopPlayingSong()
{
    if (!playingSong)
        return;
    Mix_HookMusic(nullptr, nullptr);
    xmp_end_player(playingSong->player);
    playingSong = nullptr;
}

void releasePlayer(FMusicModule* module)
{
    xmp_release_module(module->player);
    xmp_free_context(module->player);
    module->player = nullptr;
}

} // namespace

namespace fsound {

void releaseSongs()
{
    stopPlayingSong();
    for (FMusicModule* module : liveSongs)
        releasePlayer(module);
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
    const auto bytes = readRecognisedFile(name, looksLikeXm);
    if (!bytes)
        return nullptr;
    auto* module = new (std::nothrow) FMusicModule{xmp_create_context()};
    if (!module || !module->player) {
        delete module;
        fail(kErrorMemory);
        return nullptr;
    }
    if (xmp_load_module_from_memory(module->player, bytes->data(), static_cast<long>(bytes->size()))
        != 0) {
        xmp_free_context(module->player);
        delete module;
        fail(kErrorFileDecode);
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
    if (!isLive(module) || !module->player)
        return fail(kErrorBadArgument);
    stopPlayingSong();
    // The output was opened as 16-bit stereo, the player's own format.
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    if (xmp_start_player(module->player, rate, 0) != 0)
        return fail(kErrorPlay);
    xmp_set_player(module->player, XMP_PLAYER_MIX, kStereoSeparation);
    xmp_set_player(module->player, XMP_PLAYER_VOLUME, kMusicVolume);
    playingSong = module;
    Mix_HookMusic(renderSong, module);
    return true;
}

bool FMUSIC_StopSong(FMusicModule* module)
{
    using namespace fsound;
    if (!isStarted())
        return fail(kErrorNotStarted);
    if (!isLive(module))
        return fail(kErrorBadArgument);
    if (module == playingSong)
        stopPlayingSong();
    return true;
}

bool FMUSIC_FreeSong(FMusicModule* module)
{
    if (!isLive(module))
        return fsound::fail(fsound::kErrorBadArgument);
    if (module == playingSong)
        stopPlayingSong();
    liveSongs.erase(module);
    if (module->player)
        releasePlayer(module);
    delete module;
    return true;
}
