#pragma once

// The game's contact with the sound library (being written).
int initSound();
void shutdownSound();
void loadMusic(const char* fileName);
void playMusic();
