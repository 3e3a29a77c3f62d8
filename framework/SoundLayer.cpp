#include "SoundLayer.hpp"

int initSound()
{
    return 0;
}

void shutdownSound()
{
}

void loadMusic(const char*)
{
}

void playMusic()
{
}
