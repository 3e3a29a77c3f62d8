#pragma once

// The game's one contact with the sound library: starting and stopping it,
// the texts of its error codes, and the music module that plays from
// start-up to shut-down. Main thread only.

// Starts the sound library. Returns 0, or 1 after showing why it could not.
int initSound();
// Frees the music module, if one is loaded, and closes the sound library.
void shutdownSound();

// The text of one of the sound library's error codes; "Unknown error" for a
// code it does not know.
const char* fmodErrorString(int code);

// Loads the music module; a file that cannot be loaded leaves no module,
// and the calls below then do nothing.
void loadMusic(const char* fileName);
void playMusic();
void stopMusic();
void freeMusic();
