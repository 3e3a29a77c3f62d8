#include "FakeSoundLibrary.hpp"

#include <fsound.h>

#include <sstream>

// Numbered so that the log tells samples apart.
struct FSoundSample {
    int number;
};

struct FMusicModule {
    int number;
};

namespace fakesound {
namespace {

Script current;
std::vector<std::string> log;
int loads = 0;
int plays = 0;

template <typename... Args>
void record(const char* call, const Args&... args)
{
    std::ostringstream line;
    line << call;
    ((line << ' ' << args), ...);
    log.push_back(line.str());
}

std::string name(const FSoundSample* sample)
{
    return sample ? "sample" + std::to_string(sample->number) : "null";
}

std::string name(const FMusicModule* module)
{
    return module ? "module" + std::to_string(module->number) : "null";
}

} // namespace

void reset(const Script& script)
{
    current = script;
    log.clear();
    loads = 0;
    plays = 0;
}

Script& script()
{
    return current;
}

const std::vector<std::string>& calls()
{
    return log;
}

} // namespace fakesound

using namespace fakesound;

float FSOUND_GetVersion(void)
{
    record("FSOUND_GetVersion");
    return current.version;
}

bool FSOUND_Init(int mixRate, int maxChannels, unsigned int flags)
{
    record("FSOUND_Init", mixRate, maxChannels, flags);
    return current.initSucceeds;
}

int FSOUND_GetError(void)
{
    record("FSOUND_GetError");
    return current.error;
}

void FSOUND_Close(void)
{
    record("FSOUND_Close");
}

FMusicModule* FMUSIC_LoadSong(const char* file)
{
    record("FMUSIC_LoadSong", file);
    return current.loadsSucceed ? new FMusicModule{++loads} : nullptr;
}

bool FMUSIC_PlaySong(FMusicModule* module)
{
    record("FMUSIC_PlaySong", name(module));
    return true;
}

bool FMUSIC_StopSong(FMusicModule* module)
{
    record("FMUSIC_StopSong", name(module));
    return true;
}

bool FMUSIC_FreeSong(FMusicModule* module)
{
    record("FMUSIC_FreeSong", name(module));
    delete module;
    return true;
}

FSoundSample* FSOUND_Sample_Load(int index, const char* file, unsigned int mode, int offset,
                                 int length)
{
    std::ostringstream hexMode;
    hexMode << std::hex << "0x" << mode;
    record("FSOUND_Sample_Load", index, file, hexMode.str(), offset, length);
    return current.loadsSucceed ? new FSoundSample{++loads} : nullptr;
}

bool FSOUND_Sample_SetMode(FSoundSample* sample, unsigned int mode)
{
    record("FSOUND_Sample_SetMode", name(sample), mode);
    return true;
}

void FSOUND_Sample_Free(FSoundSample* sample)
{
    record("FSOUND_Sample_Free", name(sample));
    delete sample;
}

int FSOUND_PlaySound(int channel, FSoundSample* sample)
{
    record("FSOUND_PlaySound", channel, name(sample));
    return 100 + plays++;
}

bool FSOUND_IsPlaying(int channel)
{
    record("FSOUND_IsPlaying", channel);
    return current.playing;
}

bool FSOUND_StopSound(int channel)
{
    record("FSOUND_StopSound", channel);
    return true;
}
