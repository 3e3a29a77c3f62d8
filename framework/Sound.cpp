#include "Sound.hpp"

#include <fsound.h>

namespace {

constexpr unsigned kSampleMode = FSOUND_2D | FSOUND_NORMAL | FSOUND_LOOP_OFF;
static_assert(kSampleMode == 0x2131);

} // namespace

Sound::~Sound()
{
    unload();
}

void Sound::load(const char* fileName)
{
    // The main run loads its hit sound afresh each run; without this the
    // sample of every earlier run would stay allocated.
    unload();
    sample_ = FSOUND_Sample_Load(FSOUND_UNMANAGED, fileName, kSampleMode, 0, 0);
}

void Sound::play()
{
    if (!sample_)
        return;
    if (!overlap_)
        stop();
    channel_ = FSOUND_PlaySound(FSOUND_FREE, sample_);
}

void Sound::stop()
{
    if (sample_ && channel_ && FSOUND_IsPlaying(*channel_))
        FSOUND_StopSound(*channel_);
}

void Sound::unload()
{
    if (!sample_)
        return;
    FSOUND_Sample_Free(sample_);
    sample_ = nullptr;
}

void Sound::setLoop(bool loop)
{
    if (sample_)
        FSOUND_Sample_SetMode(sample_, loop ? FSOUND_LOOP_NORMAL : FSOUND_LOOP_OFF);
}

void Sound::setOverlap(bool overlap)
{
    overlap_ = overlap;
}
