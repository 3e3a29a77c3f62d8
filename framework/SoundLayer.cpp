#include "SoundLayer.hpp"

#include <allegro.h>
#include <fsound.h>

#include <iterator>

namespace {

constexpr float kRequiredVersion = 3.74f;
constexpr int kMixRate = 32000;
constexpr int kMaxChannels = 64;
constexpr unsigned kInitFlags = 0;

const char* const kErrorTexts[] = {
    "No errors",
    "Cannot call this command after FSOUND_Init.  Call FSOUND_Close first.",
    "This command failed because FSOUND_Init was not called",
    "Error initializing output device.",
    "The output device is already in use and cannot be reused.",
    "Playing the sound failed.",
    "Soundcard does not support the features needed for this soundsystem (16bit stereo output)",
    "Error setting cooperative level for hardware.",
    "Error creating hardware sound buffer.",
    "File not found",
    "Unknown file format",
    "Error loading file",
    "Not enough memory ",
    "The version number of this file format is not supported",
    "An invalid parameter was passed to this function",
    "Tried to use an EAX command on a non EAX enabled channel or output.",
    "Failed to allocate a new channel",
    "Recording not supported on this device",
    "Required Mediaplayer codec is not installed",
};

FMusicModule* music = nullptr;

} // namespace

int initSound()
{
    music = nullptr;
    if (FSOUND_GetVersion() < kRequiredVersion) {
        allegro_message("Wrong FMOD library detected. You should be using FMOD %.02f\n",
                        static_cast<double>(kRequiredVersion));
        return 1;
    }
    if (FSOUND_Init(kMixRate, kMaxChannels, kInitFlags))
        return 0;
    allegro_message("%s\n", fmodErrorString(FSOUND_GetError()));
    return 1;
}

void shutdownSound()
{
    freeMusic();
    FSOUND_Close();
}

const char* fmodErrorString(int code)
{
    // As unsigned, negative codes fall past the end of the table too.
    const unsigned index = static_cast<unsigned>(code);
    return index < std::size(kErrorTexts) ? kErrorTexts[index] : "Unknown error";
}

void loadMusic(const char* fileName)
{
    music = FMUSIC_LoadSong(fileName);
}

void playMusic()
{
    if (music)
        FMUSIC_PlaySong(music);
}

void stopMusic()
{
    if (music)
        FMUSIC_StopSong(music);
}

void freeMusic()
{
    if (!music)
        return;
    FMUSIC_FreeSong(music);
    music = nullptr;
}
